' ReDim and ReDim Preserve, fixed-size arrays, arrays as values, and bad indexes.
Dim d()
ReDim d(2)
d(0) = "a" : d(2) = "c"
ReDim Preserve d(4)
WScript.Echo UBound(d), d(0), d(2), IsEmpty(d(4))           ' expect: 4 a c True
ReDim Preserve d(1)
WScript.Echo UBound(d), d(0), IsEmpty(d(1))                 ' expect: 1 a True
ReDim d(3)
WScript.Echo IsEmpty(d(0)), UBound(d)                       ' expect: True 3
Dim n
n = 3
ReDim d(n - 1)
WScript.Echo UBound(d)                                      ' expect: 2
ReDim d(-1)
WScript.Echo UBound(d), IsArray(d)                          ' expect: -1 True
ReDim d(2.5)
WScript.Echo UBound(d)                                      ' expect: 2

' Preserve keeps elements when only the last dimension changes.
Dim g()
ReDim g(1, 2)
g(1, 2) = "kept" : g(0, 0) = "first" : g(1, 0) = "second"
ReDim Preserve g(1, 4)
WScript.Echo UBound(g, 1), UBound(g, 2), g(1, 2), g(0, 0), g(1, 0), IsEmpty(g(1, 4))   ' expect: 1 4 kept first second True
ReDim Preserve g(1, 0)
WScript.Echo UBound(g, 2), g(0, 0), g(1, 0)                 ' expect: 0 first second

' ReDim makes an array of any variable, whatever it held.
Dim v
v = 5
ReDim v(1)
WScript.Echo IsArray(v), UBound(v)                          ' expect: True 1
v = "text again"
WScript.Echo TypeName(v)                                    ' expect: String

' Arrays are values: assignment copies them, also from a fixed-size array.
Dim a, b
a = Array(1, 2, 3)
b = a
b(0) = 100
WScript.Echo a(0), b(0)                                     ' expect: 1 100
Dim fixed(2)
fixed(0) = "f"
b = fixed
b(0) = "changed"
ReDim Preserve b(3)
WScript.Echo fixed(0), b(0), UBound(fixed), UBound(b)       ' expect: f changed 2 3
' Nested arrays are copied too.
Dim outer, copy, inner
outer = Array(Array(1, 2), 3)
copy = outer
inner = copy(0)
inner(0) = 9
WScript.Echo outer(0)(0), copy(0)(0), inner(0)              ' expect: 1 1 9
' ByVal hands the callee a copy; ByRef the array itself.
Sub SetFirstByVal(ByVal arr)
    arr(0) = "byval"
End Sub
Sub SetFirstByRef(arr)
    arr(0) = "byref"
End Sub
SetFirstByVal a : WScript.Echo a(0)                         ' expect: 1
SetFirstByRef a : WScript.Echo a(0)                         ' expect: byref
SetFirstByVal fixed : WScript.Echo fixed(0)                 ' expect: f
SetFirstByRef fixed : WScript.Echo fixed(0)                 ' expect: byref
' Fractional indexes are rounded half to even.
a = Array(10, 20, 30)
WScript.Echo a(1.5), a(0.5), a(2.4), a("1")                 ' expect: 30 10 30 20

On Error Resume Next
Dim x
ReDim Preserve g(2, 0)
WScript.Echo Err.Number, Err.Description                    ' expect: 9 Subscript out of range
Err.Clear
WScript.Echo UBound(g, 1), g(0, 0)                          ' expect: 1 first
ReDim Preserve g(1)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
ReDim Preserve g(1, 0, 0)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
x = g(0)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
x = g(0, 0, 0)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
x = a(3)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
x = a(-1)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
a(5) = 1
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
x = a("one")
WScript.Echo Err.Number                                     ' expect: 13
Err.Clear
ReDim d(-1)
x = d(0)
WScript.Echo Err.Number                                     ' expect: 9
Err.Clear
' While one of its elements is passed ByRef an array is locked: it cannot be resized.
Dim locked
locked = Array(1, 2, 3)
Sub ResizeWhileHeld(element)
    ReDim locked(0)
    element = 5
End Sub
ResizeWhileHeld locked(2)
WScript.Echo Err.Number                                     ' expect: 10
WScript.Echo UBound(locked)                                 ' expect: 2
Err.Clear
ReDim fixed(5)
WScript.Echo Err.Number, UBound(fixed)                      ' expect: 10 2
Err.Clear
ReDim Preserve fixed(5)
WScript.Echo Err.Number                                     ' expect: 10
Err.Clear
