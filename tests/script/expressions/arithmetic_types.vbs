' + - * and unary minus: the result is the narrowest subtype that holds it, and an Integer or
' Long that overflows widens instead of failing. Strings take part as Doubles, except that "+"
' joins two strings.

' Literals: the smallest of Integer, Long, Double; a minus sign is an operator, so -32768 is the
' negation of the Long 32768.
WScript.Echo TypeName(1), TypeName(32767), TypeName(32768), TypeName(2147483647), TypeName(2147483648)
' expect: Integer Integer Long Long Double
WScript.Echo TypeName(1.0), TypeName(1.5), TypeName(1E3), TypeName(.5)  ' expect: Double Double Double Double
WScript.Echo TypeName(-32767), TypeName(-32768), VarType(32768)          ' expect: Integer Long 3

' Integer arithmetic widens on overflow: Integer -> Long -> Double.
WScript.Echo 2 + 3, TypeName(2 + 3)                          ' expect: 5 Integer
WScript.Echo 32767 + 1, TypeName(32767 + 1)                  ' expect: 32768 Long
WScript.Echo -32767 - 2, TypeName(-32767 - 2)                ' expect: -32769 Long
WScript.Echo 2147483647 + 1, TypeName(2147483647 + 1)        ' expect: 2147483648 Double
WScript.Echo -2147483647 - 2, TypeName(-2147483647 - 2)      ' expect: -2147483649 Double
WScript.Echo 200 * 200, TypeName(200 * 200)                  ' expect: 40000 Long
WScript.Echo 32767 * 2, TypeName(32767 * 2)                  ' expect: 65534 Long
WScript.Echo 65536 * 65536, TypeName(65536 * 65536)          ' expect: 4294967296 Double
WScript.Echo CInt(100) * CInt(300), TypeName(CInt(100) * CInt(300))   ' expect: 30000 Integer
WScript.Echo TypeName(CLng(1) + 1), TypeName(CLng(1) + CInt(1)), TypeName(CLng(3) * 2) ' expect: Long Long Long

' A Double operand makes a Double, even when the value is whole.
WScript.Echo 1 + 1.5, TypeName(1 + 1.5)                      ' expect: 2.5 Double
WScript.Echo 3 - 1.0, TypeName(3 - 1.0)                      ' expect: 2 Double
WScript.Echo 0.5 + 0.5, TypeName(0.5 + 0.5)                  ' expect: 1 Double
WScript.Echo 2.5 * 2, 1.5 - 3                                ' expect: 5 -1.5

' Byte stays Byte while it fits, and widens to Integer when it does not (also below zero).
Dim b
b = CByte(200)
WScript.Echo b + CByte(55), TypeName(b + CByte(55))          ' expect: 255 Byte
WScript.Echo b + CByte(56), TypeName(b + CByte(56))          ' expect: 256 Integer
WScript.Echo CByte(1) - CByte(2), TypeName(CByte(1) - CByte(2))   ' expect: -1 Integer
WScript.Echo b * CByte(2), TypeName(b * CByte(2))            ' expect: 400 Integer
WScript.Echo TypeName(b + 1), TypeName(b + CLng(1)), TypeName(b + 0.5)   ' expect: Integer Long Double

' Booleans count as Integer -1 and 0.
WScript.Echo True + True, TypeName(True + True)              ' expect: -2 Integer
WScript.Echo True + 1, TypeName(True + 1)                    ' expect: 0 Integer
WScript.Echo False * 5, TypeName(False * 5)                  ' expect: 0 Integer
WScript.Echo True + 1.5, TypeName(True + CByte(1))           ' expect: 0.5 Integer

' Empty counts as 0 of the other operand's subtype; Empty with Empty is Integer.
Dim never
WScript.Echo Empty + Empty, TypeName(Empty + Empty)          ' expect: 0 Integer
WScript.Echo never + 1, TypeName(never + 1)                  ' expect: 1 Integer
WScript.Echo TypeName(Empty + CLng(5)), TypeName(Empty + CByte(5)), TypeName(Empty + 0.5)
' expect: Long Byte Double
WScript.Echo 7 - Empty, Empty - 7, Empty * 3, TypeName(Empty * 3)   ' expect: 7 -7 0 Integer

' A numeric string is read as a Double, blanks, exponent and &H included.
WScript.Echo "3" + 4, TypeName("3" + 4)                      ' expect: 7 Double
WScript.Echo 3 + "4", TypeName(3 + "4")                      ' expect: 7 Double
WScript.Echo 4 - "1.5", TypeName(4 - "1.5")                  ' expect: 2.5 Double
WScript.Echo "3" * "4", TypeName("3" * "4")                  ' expect: 12 Double
WScript.Echo "3" - "1", " 2 " * 3, "1e2" + 1, "&H10" + 0, "-5" - -5   ' expect: 2 6 101 16 0
WScript.Echo TypeName(CByte(1) + "1"), TypeName(True + "1")  ' expect: Double Double

' "+" with two strings joins them; with Empty and a string it is the string.
WScript.Echo "3" + "4", TypeName("3" + "4")                  ' expect: 34 String
WScript.Echo "a" + "b", "a" + Empty, TypeName(Empty + "")    ' expect: ab a String
WScript.Echo TypeName(never + "x"), Len("" + "")             ' expect: String 0

' Unary minus: Byte and Boolean become Integer, a string a Double, and -(-32768) a Long.
WScript.Echo -CByte(5), TypeName(-CByte(5))                  ' expect: -5 Integer
WScript.Echo -True, TypeName(-True)                          ' expect: 1 Integer
WScript.Echo -Empty, TypeName(-Empty)                        ' expect: 0 Integer
WScript.Echo -"3", TypeName(-"3")                            ' expect: -3 Double
WScript.Echo -CInt(-32768), TypeName(-CInt(-32768))          ' expect: 32768 Long
WScript.Echo -CLng(-2147483647 - 1), TypeName(-CLng(-2147483647 - 1))   ' expect: 2147483648 Double
WScript.Echo - -5, -(-(2))                                   ' expect: 5 2

' & converts both sides to text; Null is left out unless both are Null.
WScript.Echo "a" & "b", 1 & 2, TypeName(1 & 2)               ' expect: ab 12 String
WScript.Echo Null & "x", "x" & Null, TypeName(Null & "x")    ' expect: x x String
WScript.Echo TypeName(Null & Null), TypeName(Empty & Empty)  ' expect: Null String
WScript.Echo Empty & "y", True & "", False & 1               ' expect: y True False1
WScript.Echo 1.5 & "|", 0.1 + 0.2 & "", CByte(255) & "", -1 & -2   ' expect: 1.5| 0.3 255 -1-2
WScript.Echo 1E20 & "", Len(1 & 23), "" & "" = ""            ' expect: 1E+20 3 True
Dim i, s
For i = 1 To 3
    s = s & i
Next
WScript.Echo s, TypeName(s)                                  ' expect: 123 String
