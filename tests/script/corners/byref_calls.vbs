' Parameters are ByRef unless declared ByVal, but only a variable or an array element can be
' shared: parentheses around an argument make it an expression, so the callee changes a copy.
Sub Bump(n)
    n = n + 1
End Sub
Sub Bump2(a, b)
    a = a + 1
    b = b + 1
End Sub
Function BumpF(n)
    n = n + 10
    BumpF = n
End Function
Dim x, y, r
x = 1 : Bump x : WScript.Echo x                          ' expect: 2
x = 1 : Call Bump(x) : WScript.Echo x                    ' expect: 2
x = 1 : Bump (x) : WScript.Echo x                        ' expect: 1
x = 1 : Call Bump((x)) : WScript.Echo x                  ' expect: 1
x = 1 : Bump x + 0 : WScript.Echo x                      ' expect: 1
x = 1 : y = 1 : Bump2 (x), y : WScript.Echo x, y         ' expect: 1 2
x = 1 : y = 1 : Bump2 x, (y) : WScript.Echo x, y         ' expect: 2 1
x = 1 : y = 1 : Call Bump2(x, y) : WScript.Echo x, y     ' expect: 2 2
x = 1 : y = 1 : Call Bump2((x), y) : WScript.Echo x, y   ' expect: 1 2
x = 1 : r = BumpF(x) : WScript.Echo x, r                 ' expect: 11 11
x = 1 : r = BumpF((x)) : WScript.Echo x, r               ' expect: 1 11
x = 1 : r = BumpF(x) + BumpF(x) : WScript.Echo x, r      ' expect: 21 32
x = 1 : BumpF x : WScript.Echo x                         ' expect: 11
x = 1 : Call BumpF(x) : WScript.Echo x                   ' expect: 11
x = 1 : WScript.Echo BumpF(x), x                         ' expect: 11 11

Sub Keep(ByVal n)
    n = 99
End Sub
Sub KeepFirst(ByVal a, ByRef b)
    a = "a changed"
    b = "b changed"
End Sub
x = 1 : Keep x : WScript.Echo x                          ' expect: 1
x = 1 : Call Keep(x) : WScript.Echo x                    ' expect: 1
x = "x" : y = "y" : KeepFirst x, y : WScript.Echo x, y   ' expect: x b changed

' One variable passed twice: both parameters are that variable.
Sub Twice(a, b)
    a = a + 1
    b = b + 1
End Sub
x = 1 : Twice x, x : WScript.Echo x                      ' expect: 3
' A ByRef parameter and the global it stands for are one variable.
Sub Alias(p)
    p = p + 1
    x = x + 10
    WScript.Echo p                                       ' expect: 12
End Sub
x = 1 : Alias x : WScript.Echo x                         ' expect: 12
' ByRef passes through several levels.
Sub Outer(v)
    Bump v
    Call Bump(v)
    Bump (v)
End Sub
x = 1 : Outer x : WScript.Echo x                         ' expect: 3

' Array elements are shared too, in any dimension.
Dim arr(2), m(1, 1), dyn
arr(1) = 5
Bump arr(1) : WScript.Echo arr(1)                        ' expect: 6
Call Bump(arr(1)) : WScript.Echo arr(1)                  ' expect: 7
Bump (arr(1)) : WScript.Echo arr(1)                      ' expect: 7
m(1, 0) = 10
Bump m(1, 0) : WScript.Echo m(1, 0), IsEmpty(m(0, 1))    ' expect: 11 True
dyn = Array(1, 2)
Bump dyn(0) : WScript.Echo dyn(0)                        ' expect: 2
r = BumpF(dyn(1)) : WScript.Echo dyn(1), r               ' expect: 12 12
' The index is worked out once, before the call.
Dim k
Sub BumpAndMove(n)
    n = n + 100
    k = 2
End Sub
k = 0
arr(0) = 0 : arr(2) = 0
BumpAndMove arr(k)
WScript.Echo arr(0), arr(2)                              ' expect: 100 0

' A whole array: ByRef shares it, ByVal copies it.
Sub Fill(a)
    a(0) = "filled"
End Sub
Sub FillByVal(ByVal a)
    a(0) = "copy"
    WScript.Echo a(0)
End Sub
Sub Grow(a)
    ReDim Preserve a(5)
End Sub
Dim whole
whole = Array("x", "y")
Fill whole : WScript.Echo whole(0)                       ' expect: filled
FillByVal whole : WScript.Echo whole(0)                  ' expect: copy
' expect: filled
Grow whole : WScript.Echo UBound(whole), whole(1)        ' expect: 5 y
whole(0) = "orig" : Fill (whole) : WScript.Echo whole(0)   ' expect: orig

' What is not a variable cannot be changed: a constant, a literal, a result.
Const Fixed = 5
Bump Fixed : WScript.Echo Fixed                          ' expect: 5
Bump 5
Bump BumpF(1)
WScript.Echo "literals and results are copies"           ' expect: literals and results are copies

' An undeclared name passed ByRef becomes a variable holding what the callee left.
Bump undeclaredYet : WScript.Echo undeclaredYet          ' expect: 1

' A parameter named like a global hides it.
Dim g
g = 1
Sub ShadowsGlobal(g)
    g = 50
End Sub
ShadowsGlobal 7 : WScript.Echo g                         ' expect: 1
ShadowsGlobal g : WScript.Echo g                         ' expect: 50

' A For counter passed ByRef is the counter itself.
Dim i, seen
For i = 1 To 6
    seen = seen & i
    Bump i
Next
WScript.Echo seen, i                                     ' expect: 135 7
