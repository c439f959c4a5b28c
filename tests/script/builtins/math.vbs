' Int, Fix, Abs, Sgn, Round, Hex, Oct. Int rounds down, Fix toward zero, both keep the subtype;
' Round rounds half to even; Hex and Oct show negative Integers in 16 bits and Longs in 32.
WScript.Echo Int(2.7), Int(-2.7), Fix(2.7), Fix(-2.7), Int(-2), Fix(-2.5), Int(-0.5)   ' expect: 2 -3 2 -2 -2 -2 -1
WScript.Echo TypeName(Int(2.5)), TypeName(Int(5)), TypeName(Int(CLng(5))), TypeName(Fix(CByte(5)))   ' expect: Double Integer Long Byte
WScript.Echo Int("2.5"), TypeName(Int("2.5")), Int(Empty), TypeName(Int(Empty)), Int(True), TypeName(Fix(True))   ' expect: 2 Double 0 Integer -1 Integer
WScript.Echo IsNull(Int(Null)), IsNull(Fix(Null)), Int(1E+20), Fix(-123456789.9)     ' expect: True True 1E+20 -123456789

WScript.Echo Abs(-5), Abs(5), Abs(-2.5), Abs(0), Abs(Empty), Abs("-3"), Abs(True)     ' expect: 5 5 2.5 0 0 3 1
WScript.Echo TypeName(Abs(-5)), TypeName(Abs("-3")), TypeName(Abs(CByte(3))), TypeName(Abs(-100000))   ' expect: Integer Double Byte Long
WScript.Echo Abs(CInt(-32768)), TypeName(Abs(CInt(-32768))), IsNull(Abs(Null))      ' expect: 32768 Long True

WScript.Echo Sgn(-3), Sgn(0), Sgn(2.5), Sgn("-2"), Sgn(Empty), Sgn(-0.001), Sgn(True), TypeName(Sgn(5))   ' expect: -1 0 1 -1 0 -1 -1 Integer
WScript.Echo TypeName(Sgn(-2.5)), Sgn(100000), Sgn(CByte(0))                          ' expect: Integer 1 0

WScript.Echo Round(2.5), Round(3.5), Round(-2.5), Round(0.5), Round(1.5), Round(-1.5) ' expect: 2 4 -2 0 2 -2
WScript.Echo Round(2.4), Round(2.6), Round(-2.6), Round(-0.4) + 0, Round(4.5), Round(5.5)   ' expect: 2 3 -3 0 4 6
WScript.Echo Round(0.125, 2), Round(0.375, 2), Round(2.25, 1), Round(2.75, 1), Round(-0.125, 2)   ' expect: 0.12 0.38 2.2 2.8 -0.12
WScript.Echo Round(1.23456, 3), Round(1234.5678, 2), Round(1.5, 0), Round(3.14159, 4), Round(12.3, 5)   ' expect: 1.235 1234.57 2 3.1416 12.3
WScript.Echo Round(1.96, 1), Round(9.99, 1), Round(-9.99, 1), Round(0.5, 1)          ' expect: 2 10 -10 0.5
WScript.Echo TypeName(Round(2.5)), TypeName(Round(5)), TypeName(Round(CLng(5))), Round("3.5"), TypeName(Round("3.5"))   ' expect: Double Integer Long 4 Double
WScript.Echo IsNull(Round(Null)), Round(7, 2), Round(2.5, 1.4)                         ' expect: True 7 2.5

WScript.Echo Hex(255), Hex(16), Hex(0), Hex(-1), Hex(65535), Hex(CLng(-1)), Hex(-32769)   ' expect: FF 10 0 FFFF FFFF FFFFFFFF FFFF7FFF
WScript.Echo Hex(2.5), Hex(3.5), Hex("255"), Hex(Empty), Hex(CByte(255)), Hex(&HABC), Hex(True)   ' expect: 2 4 FF 0 FF ABC FFFF
' -32768 is written as the negation of the Long 32768, so it stays a Long.
WScript.Echo Hex(-32768), Hex(CInt(-32768)), Hex(2147483647), Hex(-2147483647 - 1)   ' expect: FFFF8000 8000 7FFFFFFF 80000000
WScript.Echo IsNull(Hex(Null)), TypeName(Hex(1)), Hex(1) & Hex(10)                   ' expect: True String 1A
WScript.Echo Oct(8), Oct(0), Oct(-1), Oct(CLng(-1)), Oct(64), Oct(&O17), Oct(7.5)    ' expect: 10 0 177777 37777777777 100 17 10
WScript.Echo IsNull(Oct(Null)), Oct(CByte(255)), Oct(-32769)                        ' expect: True 377 37777677777

On Error Resume Next
Dim x
x = Sgn(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = Round(2.5, -1)
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = Round("abc")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = Hex("abc")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = Hex(2147483648)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = Oct(-2147483649)
WScript.Echo Err.Number                                            ' expect: 6
Err.Clear
x = Int("x")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = Fix(Array(1))
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = Abs("x")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = Sgn("")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
