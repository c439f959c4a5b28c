' Subs and Functions: results, ByRef by default, ByVal, Call versus parentheses, recursion.
Function Twice(x)
    Twice = x * 2
End Function

Sub Bump(n)
    n = n + 1
End Sub

Sub BumpByVal(ByVal n)
    n = n + 1
End Sub

Dim a
a = 1
Bump a
WScript.Echo a                 ' expect: 2
Call Bump(a)
WScript.Echo a                 ' expect: 3
' One argument in parentheses is an expression: passed by value.
Bump (a)
WScript.Echo a                 ' expect: 3
BumpByVal a
WScript.Echo a                 ' expect: 3

Sub AddTo(target, amount)
    target = target + amount
End Sub
Dim b
b = 10
AddTo b, 5
WScript.Echo b                 ' expect: 15
AddTo (b), 5
WScript.Echo b                 ' expect: 15
' An expression, a constant and a function result are not variables: the callee changes a copy.
AddTo b + 0, 5
WScript.Echo b                 ' expect: 15

' ByRef reaches array elements too.
Dim arr(2)
arr(1) = 7
Bump arr(1)
WScript.Echo arr(1)            ' expect: 8

WScript.Echo Twice(21)         ' expect: 42
WScript.Echo twice(Twice(1))   ' expect: 4

Function Factorial(n)
    If n <= 1 Then
        Factorial = 1
    Else
        Factorial = n * Factorial(n - 1)
    End If
End Function
WScript.Echo Factorial(10)     ' expect: 3628800

' A Function with no assignment returns Empty; Exit Function keeps what was assigned.
Function Nothing1()
End Function
WScript.Echo TypeName(Nothing1())   ' expect: Empty
Function Early(x)
    Early = "early"
    If x Then Exit Function
    Early = "late"
End Function
WScript.Echo Early(True), Early(False)   ' expect: early late

' Procedures are visible before their text; locals hide globals.
Dim shared
shared = "global"
WScript.Echo ShowLocal()       ' expect: local
WScript.Echo shared            ' expect: global
Function ShowLocal()
    Dim shared
    shared = "local"
    ShowLocal = shared
End Function

' A function returning an object needs Set.
Function MakeList()
    Set MakeList = Nothing
End Function
Dim o
Set o = MakeList()
WScript.Echo o Is Nothing      ' expect: True
