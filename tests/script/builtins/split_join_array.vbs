' Split, Join and Array: zero-based one-dimensional arrays of Variants.
Dim parts
parts = Split("a,b,c", ",")
WScript.Echo UBound(parts), parts(0), parts(2), TypeName(parts), TypeName(parts(1))   ' expect: 2 a c Variant() String
' The default delimiter is one blank; two blanks make an empty part between them.
parts = Split("one two  three")
WScript.Echo UBound(parts), "[" & parts(2) & "]", parts(3)          ' expect: 3 [] three
parts = Split("", ",")
WScript.Echo UBound(parts), LBound(parts), IsArray(parts)           ' expect: -1 0 True
parts = Split("a,b,c", ",", 2)
WScript.Echo UBound(parts), parts(0), parts(1)                      ' expect: 1 a b,c
parts = Split("a,b,c", ",", 1)
WScript.Echo UBound(parts), parts(0)                                ' expect: 0 a,b,c
parts = Split("a,b,c", ",", 10)
WScript.Echo UBound(parts)                                          ' expect: 2
parts = Split(",a,", ",")
WScript.Echo UBound(parts), "[" & parts(0) & "][" & parts(1) & "][" & parts(2) & "]"   ' expect: 2 [][a][]
parts = Split("aXbxc", "x")
WScript.Echo UBound(parts), parts(0)                                ' expect: 1 aXb
parts = Split("aXbxc", "x", -1, vbTextCompare)
WScript.Echo UBound(parts), parts(1)                                ' expect: 2 b
parts = Split("abc", "")
WScript.Echo UBound(parts), parts(0)                                ' expect: 0 abc
parts = Split("a--b--c", "--")
WScript.Echo UBound(parts), parts(1)                                ' expect: 2 b
parts = Split("abc", "abc")
WScript.Echo UBound(parts), "[" & parts(0) & parts(1) & "]"         ' expect: 1 []
parts = Split(123.5, ".")
WScript.Echo parts(0) + 1, parts(1)                                 ' expect: 124 5
parts = Split("a" & vbCrLf & "b", vbCrLf)
WScript.Echo UBound(parts), parts(1)                                ' expect: 1 b
' The result is an ordinary dynamic array.
parts = Split("x y")
ReDim Preserve parts(2)
parts(2) = "z"
WScript.Echo Join(parts, "+")                                       ' expect: x+y+z

WScript.Echo Join(Array("a", "b", "c"), "-"), Join(Array("a", "b")), Join(Array(1, 2), "")   ' expect: a-b-c a b 12
WScript.Echo "[" & Join(Array()) & "]", Join(Array("x"), ","), Join(Split("a,b,c", ","), ";")   ' expect: [] x a;b;c
WScript.Echo Join(Array(1, True, 2.5, Empty), "|"), Join(Array("a", "b"), ", ")   ' expect: 1|True|2.5| a, b
WScript.Echo Join(Array("a", "b"), 0), TypeName(Join(Array()))      ' expect: a0b String
Dim fixed(2)
fixed(0) = "p"
fixed(2) = "r"
WScript.Echo Join(fixed, "/")                                       ' expect: p//r

Dim a
a = Array()
WScript.Echo UBound(a), LBound(a), IsArray(a), TypeName(a)          ' expect: -1 0 True Variant()
a = Array(1, "two", 3.5, Null, True, Empty)
WScript.Echo UBound(a), TypeName(a(0)), TypeName(a(1)), TypeName(a(2)), TypeName(a(3)), TypeName(a(4)), TypeName(a(5))
' expect: 5 Integer String Double Null Boolean Empty
a = Array(Array(1, 2), Array(3, 4, 5))
WScript.Echo UBound(a), UBound(a(1)), a(1)(2), a(0)(1)              ' expect: 1 2 5 2
' Array copies its arguments: changing the source afterwards changes nothing inside.
Dim src, held
src = Array(1, 2)
held = Array(src, 0)
src(0) = 9
WScript.Echo held(0)(0), src(0)                                     ' expect: 1 9
' Elements can be replaced, including by arrays.
a = Array(1, 2, 3)
a(1) = Array("x")
WScript.Echo IsArray(a(1)), a(1)(0), a(2)                           ' expect: True x 3

On Error Resume Next
Dim x
x = Join("abc")
WScript.Echo Err.Number                                             ' expect: 13
Err.Clear
x = Join(Array(1), ",", 3)
WScript.Echo Err.Number                                             ' expect: 450
Err.Clear
parts = Split("a,b", ",")
x = parts(2)
WScript.Echo Err.Number, Err.Description                            ' expect: 9 Subscript out of range
Err.Clear
x = parts(-1)
WScript.Echo Err.Number                                             ' expect: 9
Err.Clear
parts = Split("")
x = parts(0)
WScript.Echo Err.Number                                             ' expect: 9
Err.Clear
