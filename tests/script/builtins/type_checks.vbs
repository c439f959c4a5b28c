' IsNumeric, IsEmpty, IsNull, IsObject, IsArray, TypeName, VarType, UBound, LBound.
WScript.Echo IsNumeric(1), IsNumeric(1.5), IsNumeric("1"), IsNumeric(" 12 "), IsNumeric("1.5e3"), IsNumeric("-.5"), IsNumeric("&H1F")   ' expect: True True True True True True True
WScript.Echo IsNumeric("abc"), IsNumeric(""), IsNumeric("1e"), IsNumeric("-"), IsNumeric("."), IsNumeric("1 2"), IsNumeric(Null), IsNumeric(Array(1))   ' expect: False False False False False False False False
WScript.Echo IsNumeric(Empty), IsNumeric(True), IsNumeric(CByte(1)), IsNumeric("+7"), IsNumeric("12abc")   ' expect: True True True True False

Dim e, arr(2), dyn(), m(2, 5)
WScript.Echo IsEmpty(e), IsEmpty(""), IsEmpty(0), IsEmpty(Null), IsEmpty(Empty), IsEmpty(neverSeen), IsEmpty(arr(1))   ' expect: True False False False True True True
e = 1
e = Empty
WScript.Echo IsEmpty(e), TypeName(IsEmpty(e))                       ' expect: True Boolean
WScript.Echo IsNull(Null), IsNull(Empty), IsNull(""), IsNull(Null + 1), IsNull(0), IsNull("Null")   ' expect: True False False True False False
WScript.Echo IsObject(Nothing), IsObject(Err), IsObject(1), IsObject(Array()), IsObject(Empty), IsObject(Null)   ' expect: True True False False False False
WScript.Echo IsArray(Array()), IsArray(arr), IsArray(dyn), IsArray(m), IsArray(Split("a")), IsArray("a"), IsArray(Empty), IsArray(arr(0))   ' expect: True True True True True False False False

WScript.Echo TypeName(Empty), TypeName(Null), TypeName(1), TypeName(100000), TypeName(1.5), TypeName("s")   ' expect: Empty Null Integer Long Double String
WScript.Echo TypeName(True), TypeName(CByte(1)), TypeName(Nothing), TypeName(arr), TypeName(m), TypeName(dyn)   ' expect: Boolean Byte Nothing Variant() Variant() Variant()
WScript.Echo VarType(Empty), VarType(Null), VarType(1), VarType(100000), VarType(1.5), VarType("s"), VarType(True), VarType(CByte(1))   ' expect: 0 1 2 3 5 8 11 17
WScript.Echo VarType(Nothing), VarType(Err), VarType(arr), VarType(Array()), VarType(m)   ' expect: 9 9 8204 8204 8204
WScript.Echo VarType(1) = vbInteger, VarType("") = vbString, VarType(arr) = vbArray + vbVariant, TypeName(VarType(1))   ' expect: True True True Integer

WScript.Echo UBound(arr), LBound(arr), UBound(m), UBound(m, 1), UBound(m, 2), LBound(m, 2)   ' expect: 2 0 2 2 5 0
WScript.Echo UBound(Array()), TypeName(UBound(arr)), TypeName(LBound(arr)), UBound(Array(1, 2, 3))   ' expect: -1 Long Long 2
WScript.Echo UBound(m, 1.6), UBound(m, "2")                        ' expect: 5 5
ReDim dyn(4, 1, 0)
WScript.Echo UBound(dyn), UBound(dyn, 2), UBound(dyn, 3), LBound(dyn, 3)   ' expect: 4 1 0 0

On Error Resume Next
Dim x
x = UBound(m, 3)
WScript.Echo Err.Number                                            ' expect: 9
Err.Clear
x = UBound(m, 0)
WScript.Echo Err.Number                                            ' expect: 9
Err.Clear
x = LBound(m, 3)
WScript.Echo Err.Number                                            ' expect: 9
Err.Clear
x = UBound("abc")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = UBound(e)
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = LBound(Null)
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
Dim never()
x = UBound(never)
WScript.Echo Err.Number                                            ' expect: 9
Err.Clear
x = TypeName()
WScript.Echo Err.Number                                            ' expect: 450
Err.Clear
