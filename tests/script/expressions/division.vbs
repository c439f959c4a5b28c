' "/" always makes a Double. "\" and Mod first round each operand half to even to a whole number,
' then truncate toward zero; Mod takes the sign of the dividend. A zero divisor is error 11,
' 0 / 0 is an overflow.
WScript.Echo 7 / 2, TypeName(7 / 2)                           ' expect: 3.5 Double
WScript.Echo 6 / 3, TypeName(6 / 3)                           ' expect: 2 Double
WScript.Echo TypeName(CByte(6) / CByte(3)), TypeName(CLng(6) / 2)   ' expect: Double Double
WScript.Echo -7 / 2, 7 / -2, 1 / 4, 1 / 8                     ' expect: -3.5 -3.5 0.25 0.125
WScript.Echo "9" / 2, True / 2, Empty / 5, 2.5 / 0.5          ' expect: 4.5 -0.5 0 5

WScript.Echo 7 \ 2, TypeName(7 \ 2)                           ' expect: 3 Integer
WScript.Echo -7 \ 2, 7 \ -2, -7 \ -2, 1 \ 2, -1 \ 2           ' expect: -3 -3 3 0 0
WScript.Echo 5.5 \ 2, TypeName(5.5 \ 2)                       ' expect: 3 Long
WScript.Echo 4.5 \ 2, 6.5 \ 1, 7.5 \ 1, -2.5 \ 1, -3.5 \ 1    ' expect: 2 6 8 -2 -4
WScript.Echo 7 \ 2.5, 7 \ 3.5, 9.4 \ 2.6                      ' expect: 3 1 3
WScript.Echo "7" \ "2", TypeName("7" \ "2")                   ' expect: 3 Long
WScript.Echo TypeName(CLng(7) \ 2), TypeName(CByte(7) \ CByte(2)), TypeName(CByte(7) \ 2)
' expect: Long Byte Integer
WScript.Echo True \ 1, Empty \ 3, TypeName(Empty \ 3)         ' expect: -1 0 Integer
WScript.Echo 100000 \ 3, TypeName(100000 \ 3)                 ' expect: 33333 Long
WScript.Echo 2147483647 \ 1, TypeName(2147483647.4 \ 1)       ' expect: 2147483647 Long

WScript.Echo 7 Mod 3, -7 Mod 3, 7 Mod -3, -7 Mod -3           ' expect: 1 -1 1 -1
WScript.Echo 0 Mod 5, 3 Mod 5, -3 Mod 5, Empty Mod 3          ' expect: 0 3 -3 0
WScript.Echo 5.5 Mod 2, 4.5 Mod 3, 10 Mod 2.5, 10 Mod 3.5     ' expect: 0 1 0 2
WScript.Echo -5.5 Mod 4, 5.5 Mod -4                           ' expect: -2 2
WScript.Echo "8" Mod "3", True Mod 2                          ' expect: 2 -1
WScript.Echo TypeName(7 Mod 3), TypeName(7.0 Mod 3), TypeName(CLng(7) Mod 3), TypeName(CByte(7) Mod CByte(3))
' expect: Integer Long Long Byte
WScript.Echo TypeName("7" Mod 3), TypeName(CByte(7) Mod 3)    ' expect: Long Integer

' The identity a = (a \ b) * b + a Mod b holds for whole operands of either sign.
Dim a, b, ok
ok = True
For a = -9 To 9
    For b = -4 To 4
        If b <> 0 Then
            If (a \ b) * b + a Mod b <> a Then ok = False
        End If
    Next
Next
WScript.Echo ok                                               ' expect: True

On Error Resume Next
Dim x
x = 1 / 0
WScript.Echo Err.Number, Err.Description                      ' expect: 11 Division by zero
Err.Clear
x = 1 \ 0
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 1 Mod 0
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 1 / Empty
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 5 \ 0.4
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 5 Mod 0.5
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 1 \ "0"
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 1.5 / False
WScript.Echo Err.Number                                       ' expect: 11
Err.Clear
x = 0 / 0
WScript.Echo Err.Number, Err.Description                      ' expect: 6 Overflow
Err.Clear
x = 2147483648 \ 1
WScript.Echo Err.Number                                       ' expect: 6
Err.Clear
x = 1 Mod 2147483647.5
WScript.Echo Err.Number                                       ' expect: 6
Err.Clear
x = 1 / "abc"
WScript.Echo Err.Number                                       ' expect: 13
Err.Clear
x = "x" \ 2
WScript.Echo Err.Number                                       ' expect: 13
Err.Clear
x = 3 Mod "three"
WScript.Echo Err.Number                                       ' expect: 13
Err.Clear
x = 1E308 / 1E-10
WScript.Echo Err.Number                                       ' expect: 6
Err.Clear
On Error GoTo 0
x = 10 Mod (2 - 2)                                            ' expect error line 91: Division by zero
WScript.Echo "not reached"
