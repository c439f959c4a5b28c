' Function results, a function's own name inside its body, recursion, early exits and scopes.
Function NoResult()
End Function
Function NoResultArg(a)
    a = a
End Function
WScript.Echo TypeName(NoResult()), IsEmpty(NoResultArg(1)), TypeName(NoResult)   ' expect: Empty True Empty

' Inside a Function its name without arguments is the result variable, readable and writable.
Function Accumulate(n)
    Dim i
    Accumulate = 0
    For i = 1 To n
        Accumulate = Accumulate + i
    Next
End Function
WScript.Echo Accumulate(4), Accumulate(0)                       ' expect: 10 0
Function Counter()
    Counter = 5
    Counter = Counter * 2
End Function
WScript.Echo Counter(), Counter, Counter + 1                    ' expect: 10 10 11
Function Build()
    Build = "a"
    Build = Build & "b"
    If Build = "ab" Then Build = Build & "c"
End Function
WScript.Echo Build()                                            ' expect: abc

' With arguments the name is a recursive call.
Function Fib(n)
    If n < 2 Then
        Fib = n
    Else
        Fib = Fib(n - 1) + Fib(n - 2)
    End If
End Function
WScript.Echo Fib(1), Fib(2), Fib(15)                            ' expect: 1 1 610
Function Gcd(a, b)
    If b = 0 Then Gcd = a Else Gcd = Gcd(b, a Mod b)
End Function
WScript.Echo Gcd(1071, 462), Gcd(17, 5)                         ' expect: 21 1
Function IsEven(n)
    If n = 0 Then IsEven = True Else IsEven = IsOdd(n - 1)
End Function
Function IsOdd(n)
    If n = 0 Then IsOdd = False Else IsOdd = IsEven(n - 1)
End Function
WScript.Echo IsEven(10), IsOdd(7), IsOdd(10)                    ' expect: True True False
Function Power2(n)
    If n = 0 Then
        Power2 = 1
        Exit Function
    End If
    Power2 = 2 * Power2(n - 1)
End Function
WScript.Echo Power2(20), Power2(40)                             ' expect: 1048576 1099511627776

' With empty parentheses the name is a call again, even without parameters; passed as an
' argument without them it is the result variable, shared ByRef.
Dim depthCount
Function Down()
    depthCount = depthCount + 1
    If depthCount < 3 Then
        Down = Down() + 1
    Else
        Down = 0
    End If
End Function
WScript.Echo Down(), depthCount                                 ' expect: 2 3
Sub BumpIt(n)
    n = n + 1
End Sub
Function ResultByRef()
    ResultByRef = 1
    BumpIt ResultByRef
    Call BumpIt(ResultByRef)
End Function
WScript.Echo ResultByRef()                                      ' expect: 3

' Every call has its own locals, parameters and result.
Function Depth(n)
    Dim mine, ignored
    mine = n
    If n > 0 Then ignored = Depth(n - 1)
    Depth = mine & "/" & n
End Function
WScript.Echo Depth(5)                                           ' expect: 5/5
Function Fresh()
    Dim v
    v = v & "x"
    Fresh = v
End Function
WScript.Echo Fresh(), Fresh()                                   ' expect: x x

' Exit Function and Exit Sub leave at once, even from inside nested loops.
Function FirstSquareOver(limit)
    Dim i
    FirstSquareOver = -1
    For i = 1 To 100
        Do
            If i * i > limit Then
                FirstSquareOver = i
                Exit Function
            End If
            Exit Do
        Loop
    Next
End Function
WScript.Echo FirstSquareOver(50), FirstSquareOver(100000)       ' expect: 8 -1
Sub Say(t)
    If t = "" Then Exit Sub
    WScript.Echo "said " & t
End Sub
Say ""
Say "hi"                                                        ' expect: said hi
Sub Loops()
    Dim i
    For Each i In Array(1, 2, 3)
        Do While True
            If i = 2 Then Exit Sub
            WScript.Echo "item " & i                            ' expect: item 1
            Exit Do
        Loop
    Next
    WScript.Echo "not reached"
End Sub
Loops

' A Function may return an array.
Function Pair()
    Pair = Array("l", "r")
End Function
Dim p
p = Pair()
WScript.Echo UBound(p), p(1), TypeName(Pair())                  ' expect: 1 r Variant()

' Globals are visible and changeable in procedures; an undeclared name assigned in a
' procedure is a local of that call.
Dim total
total = 0
Sub AddTotal(n)
    total = total + n
End Sub
AddTotal 3
AddTotal 4
WScript.Echo total                                              ' expect: 7
Sub MakesLocal()
    madeInside = 5
End Sub
MakesLocal
WScript.Echo IsEmpty(madeInside)                                ' expect: True
' A Sub can be called with Call and empty parentheses, a Function as a statement.
Sub NoArgs()
    WScript.Echo "no args"
End Sub
Call NoArgs()                                                   ' expect: no args
NoArgs                                                          ' expect: no args
Counter
Call Counter
WScript.Echo "results dropped"                                  ' expect: results dropped
