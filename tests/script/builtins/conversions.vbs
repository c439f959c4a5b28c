' CStr, CInt, CLng, CDbl, CBool, CByte: the whole-number conversions round half to even and
' fail with Overflow outside their range; text must read as a number; Null is refused.
WScript.Echo CStr(1), CStr(-2.5), CStr(True), CStr(False), "[" & CStr(Empty) & "]", CStr(CByte(7))   ' expect: 1 -2.5 True False [] 7
WScript.Echo TypeName(CStr(1)), TypeName(CStr(Empty)), CStr("x"), CStr(100000), CStr(1E+20)   ' expect: String String x 100000 1E+20

WScript.Echo CInt("3.5"), CInt(2.5), CInt(-2.5), CInt(1.5), CInt(0.5), CInt(-0.5), CInt(-1.5)   ' expect: 4 2 -2 2 0 0 -2
WScript.Echo CInt(" 12 "), CInt(True), CInt(Empty), CInt("&H10"), CInt("1e3"), CInt(32767.4)   ' expect: 12 -1 0 16 1000 32767
WScript.Echo CInt(-32768.5), CInt("-32768"), CInt(2.50001), CInt(CByte(9))          ' expect: -32768 -32768 3 9
WScript.Echo TypeName(CInt(1.2)), TypeName(CInt("7")), TypeName(CInt(True))           ' expect: Integer Integer Integer

WScript.Echo CLng("2147483647"), CLng(-2.5), CLng(3.5), CLng(2.4999), CLng(True), CLng("-0.5")   ' expect: 2147483647 -2 4 2 -1 0
WScript.Echo CLng(-2147483648.4), CLng(32768) + 0, TypeName(CLng(1)), TypeName(CLng(1) + CLng(1))   ' expect: -2147483648 32768 Long Long

WScript.Echo CDbl("1.5"), CDbl("1e3"), CDbl(True), CDbl(Empty), CDbl(" -.5 "), CDbl("+3"), TypeName(CDbl(1))   ' expect: 1.5 1000 -1 0 -0.5 3 Double
WScript.Echo CDbl("1.5E-3"), CDbl("&HFF"), CDbl(CByte(4)) / 8, CDbl("1E+2")          ' expect: 0.0015 255 0.5 100

WScript.Echo CBool(0), CBool(5), CBool(-0.1), CBool(0.0), CBool(Empty)               ' expect: False True True False False
WScript.Echo CBool("True"), CBool("false"), CBool("TRUE"), CBool("1"), CBool("0"), CBool("-2.5")   ' expect: True False True True False True
WScript.Echo TypeName(CBool(1)), CBool(CByte(0)), CBool(True), CBool("0.0")          ' expect: Boolean False True False

WScript.Echo CByte(255), CByte(2.5), CByte(3.5), CByte("7"), CByte(-0.4), CByte(255.4), TypeName(CByte(1))   ' expect: 255 2 4 7 0 255 Byte
WScript.Echo CByte(True + 2), CByte(Empty), TypeName(CByte("200"))                   ' expect: 1 0 Byte

' Round trips.
WScript.Echo CInt(CStr(123)) + 1, CStr(CInt("0042")), CStr(CDbl("007.50"))          ' expect: 124 42 7.5

On Error Resume Next
Dim x
x = CInt("abc")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CInt("")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CInt(32768)
WScript.Echo Err.Number, Err.Description                           ' expect: 6 Overflow
Err.Clear
x = CInt(-32769)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CInt(32767.5)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CInt(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = CInt(Array(1))
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CLng(2147483648)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CLng(2147483647.5)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CLng("x")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CDbl("1.2.3")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CDbl("")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CDbl(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = CBool("abc")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CBool("")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CBool(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = CByte(256)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CByte(-1)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CByte(-0.6)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CByte(255.5)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = CStr(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = CStr(Array(1))
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = CInt(1, 2)
WScript.Echo Err.Number                                            ' expect: 450
Err.Clear
