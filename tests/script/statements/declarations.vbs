' Dim, ReDim (Preserve), Const, arrays, Option Explicit-free implicit variables.
Dim a(2), b(), m(1, 2)
WScript.Echo UBound(a), UBound(m, 1), UBound(m, 2)   ' expect: 2 1 2
a(0) = "x"
m(1, 2) = 12
WScript.Echo a(0) & m(1, 2)                          ' expect: x12

ReDim b(3)
b(3) = "last"
ReDim Preserve b(5)
WScript.Echo UBound(b), b(3), IsEmpty(b(5))         ' expect: 5 last True
ReDim b(1)
WScript.Echo IsEmpty(b(0)) And UBound(b) = 1         ' expect: True
ReDim Preserve b(0)
WScript.Echo UBound(b)                               ' expect: 0

Const Pi = 3.5, Greeting = "hi"
WScript.Echo Pi * 2, Greeting                        ' expect: 7 hi

' Without Option Explicit, a new name is a new Empty variable.
WScript.Echo TypeName(neverDeclared)                 ' expect: Empty
implicitOne = 4
WScript.Echo implicitOne                             ' expect: 4

' Dim in a loop does not reset the variable.
Dim i
For i = 1 To 3
    Dim counter
    counter = counter + 1
Next
WScript.Echo counter                                 ' expect: 3

' Arrays are values: assignment copies them.
Dim p, q
p = Array(1, 2)
q = p
q(0) = 99
WScript.Echo p(0), q(0)                              ' expect: 1 99

' Set and Is.
Dim n1, n2
Set n1 = Nothing
Set n2 = n1
WScript.Echo n1 Is n2, IsObject(n1)                  ' expect: True True
