' Comparisons: numbers by value whatever their subtypes, strings character by character
' (binary), a number always below a string, Empty as 0 or "" depending on the other side, and
' Null making the result Null.
WScript.Echo 1 < 2, 2 < 1, 1 = 1, 1 <> 1, 2 >= 2, 2 <= 1, 3 > 2     ' expect: True False True False True False True
WScript.Echo 1 = 1.0, 0.5 < 1, -1 < 0, CByte(1) = 1, CLng(5) = 5.0   ' expect: True True True True True
WScript.Echo 32768 > 32767, 2147483648 > 2147483647, -0.5 < 0      ' expect: True True True
WScript.Echo TypeName(1 = 1), TypeName(1 < 0)                        ' expect: Boolean Boolean
' 0.1 + 0.2 prints as 0.3 but is not exactly 0.3.
WScript.Echo 0.1 + 0.2 = 0.3, 0.1 + 0.2, 0.5 + 0.25 = 0.75          ' expect: False 0.3 True

' Strings: binary order, so digits before capitals before small letters.
WScript.Echo "10" < "9", "abc" < "abd", "ab" < "abc", "" < "a"       ' expect: True True True True
WScript.Echo "B" < "a", "a" = "A", "a" > "B", "Z" < "a"              ' expect: True False True True
WScript.Echo "abc" = "abc", "abc" <> "abc ", " a" < "a"              ' expect: True True True
WScript.Echo "2" > "10", "-1" < "-2"                                 ' expect: True True

' A number compared with a string (neither written as a literal here) is below it, even when the
' string reads as that number.
Dim n, s, d
n = 10
s = "10"
d = 9.5
WScript.Echo n = s, n < s, n > s, n <> s                             ' expect: False True False True
s = "9"
WScript.Echo s > n, d < s, s >= d                                    ' expect: True True True
s = "abc"
WScript.Echo n < s, CByte(255) < s, True < s                         ' expect: True True True

' Empty is 0 against a number, "" against a string, equal to Empty.
Dim e, e2
WScript.Echo e = 0, e = "", e = e2, e < 1, e > -1, e < "a"           ' expect: True True True True True True
WScript.Echo e = False, e <> 0.0001, e = " "                         ' expect: True True False
WScript.Echo 0 = e, "" = e, "a" > e                                  ' expect: True True True

' Booleans compare as -1 and 0.
WScript.Echo True = -1, True < False, False = 0, True < 0, True = 1  ' expect: True True True True False
Dim t
t = True
WScript.Echo t = -1, t > -2, False < 1                               ' expect: True True True

' Null in any comparison gives Null, even Null = Null.
WScript.Echo Null = Null, Null <> 1, 1 < Null, "a" = Null, e = Null  ' expect: Null Null Null Null Null
WScript.Echo TypeName(Null = 1), IsNull(Null >= Null)                ' expect: Null True

' Is compares object references.
Dim o1, o2
Set o1 = Nothing
Set o2 = o1
WScript.Echo o1 Is Nothing, Nothing Is Nothing, o1 Is o2             ' expect: True True True
WScript.Echo Err Is Err, Err Is Nothing, Not (Err Is Nothing)        ' expect: True False True

' String comparison in Select Case and If follows the same binary rule.
Select Case "abc"
    Case "ABC": WScript.Echo "case-insensitive"
    Case "abc": WScript.Echo "exact"                                 ' expect: exact
End Select

On Error Resume Next
Dim x
x = Array(1) = 1
WScript.Echo Err.Number                                              ' expect: 13
Err.Clear
x = Array(1) < Array(2)
WScript.Echo Err.Number                                              ' expect: 13
Err.Clear
x = 1 Is 1
WScript.Echo Err.Number                                              ' expect: 424
Err.Clear
x = Nothing Is 1
WScript.Echo Err.Number                                              ' expect: 424
Err.Clear
