' Len, Left, Right, Mid, UCase, LCase, Trim, LTrim, RTrim, Space, String. Numbers are read as
' their text, a Null string gives Null, and counts are rounded half to even.
WScript.Echo Len("abc"), Len(""), Len(Empty), Len(12345), Len(-1.5), Len(True)   ' expect: 3 0 0 5 4 4
WScript.Echo TypeName(Len("a")), IsNull(Len(Null)), Len("a" & vbCrLf)           ' expect: Long True 3
WScript.Echo Len(CByte(200)), Len(0.5), Len(100000)                             ' expect: 3 3 6
' A NUL character is an ordinary character.
WScript.Echo Len("a" & vbNullChar & "b"), InStr("a" & vbNullChar & "b", "b"), Mid("a" & Chr(0) & "b", 3)   ' expect: 3 3 b

WScript.Echo Left("abcdef", 3), "[" & Left("abc", 0) & "]", Left("abc", 10)     ' expect: abc [] abc
WScript.Echo Left(12345, 2), Left("abc", 1.5), Left("abc", 2.5), Left("abc", "2")   ' expect: 12 ab ab ab
WScript.Echo Right("abcdef", 2), "[" & Right("abc", 0) & "]", Right("abc", 9)   ' expect: ef [] abc
WScript.Echo Right(12345, 2), Right("abc", 0.5) & "|", Right(True, 3)           ' expect: 45 | rue
WScript.Echo IsNull(Left(Null, 1)), IsNull(Right(Null, 1)), TypeName(Left(1, 1))   ' expect: True True String

WScript.Echo Mid("abcdef", 2, 3), Mid("abcdef", 4), Mid("abc", 3, 5), Mid("abc", 1)  ' expect: bcd def c abc
WScript.Echo "[" & Mid("abc", 4) & "]", "[" & Mid("abc", 9, 2) & "]", "[" & Mid("abc", 2, 0) & "]"  ' expect: [] [] []
WScript.Echo Mid(123456, 3, 2), TypeName(Mid(123456, 3, 2)), Mid("abc", 2.5, 1.5)   ' expect: 34 String bc
WScript.Echo IsNull(Mid(Null, 1, 1)), IsNull(Mid(Null, 5))                      ' expect: True True

WScript.Echo UCase("aBc1 z"), LCase("AbC1 Z"), UCase("é"), LCase("É")          ' expect: ABC1 Z abc1 z É é
WScript.Echo UCase(12), TypeName(UCase(Empty)), "[" & UCase("") & "]", LCase(True)  ' expect: 12 String [] true
WScript.Echo IsNull(UCase(Null)), IsNull(LCase(Null))                           ' expect: True True

' The trims remove blanks only, not tabs or line ends.
WScript.Echo "[" & Trim("  a b  ") & "]", "[" & LTrim("  a ") & "]", "[" & RTrim("  a ") & "]"  ' expect: [a b] [a ] [  a]
WScript.Echo Len(Trim(vbTab & "a" & vbTab)), Len(Trim(vbCrLf)), Len(Trim(" " & vbLf & " "))  ' expect: 3 2 1
WScript.Echo "[" & Trim("") & "]", "[" & Trim("   ") & "]", Trim(12), TypeName(Trim(12))  ' expect: [] [] 12 String
WScript.Echo IsNull(Trim(Null)), IsNull(LTrim(Null)), IsNull(RTrim(Null))       ' expect: True True True

WScript.Echo "[" & Space(3) & "]", Len(Space(0)), Len(Space(2.5)), Len(Space(3.5))   ' expect: [   ] 0 2 4
WScript.Echo String(3, "ab"), String(3, 65), "[" & String(0, "x") & "]", String(2, 321)   ' expect: aaa AAA [] AA
WScript.Echo String(2, "*") & String(1, 48), Len(String(1000, " ")), IsNull(String(2, Null))  ' expect: **0 1000 True
WScript.Echo String(2, "9"), String(2, 9) = Chr(9) & Chr(9)                      ' expect: 99 True

On Error Resume Next
Dim x
x = Left("abc", -1)
WScript.Echo Err.Number, Err.Description                   ' expect: 5 Invalid procedure call or argument
Err.Clear
x = Right("abc", -1)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = Mid("abc", 0)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = Mid("abc", 1, -1)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = Space(-1)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = String(-1, "a")
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = String(2, "")
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = Left("abc", "x")
WScript.Echo Err.Number                                    ' expect: 13
Err.Clear
x = Left("abc", Null)
WScript.Echo Err.Number                                    ' expect: 94
Err.Clear
x = Mid("abc", Null)
WScript.Echo Err.Number                                    ' expect: 94
Err.Clear
x = Len(Array(1))
WScript.Echo Err.Number                                    ' expect: 13
Err.Clear
x = UCase(Array(1))
WScript.Echo Err.Number                                    ' expect: 13
Err.Clear
x = Left("abc")
WScript.Echo Err.Number                                    ' expect: 450
Err.Clear
x = Len("a", "b")
WScript.Echo Err.Number                                    ' expect: 450
Err.Clear
x = Mid("abc", 1, 2, 3)
WScript.Echo Err.Number                                    ' expect: 450
Err.Clear
