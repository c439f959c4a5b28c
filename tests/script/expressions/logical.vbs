' Not, And, Or, Xor, Eqv, Imp: logic on two Booleans, bitwise on whole numbers otherwise
' (Doubles rounded half to even, True as -1), with the subtype of the wider operand.
WScript.Echo True And True, True And False, False And False         ' expect: True False False
WScript.Echo True Or False, False Or False, True Or True            ' expect: True False True
WScript.Echo True Xor True, True Xor False, False Xor False         ' expect: False True False
WScript.Echo True Eqv True, True Eqv False, False Eqv False         ' expect: True False True
WScript.Echo True Imp False, True Imp True, False Imp True, False Imp False   ' expect: False True True True
WScript.Echo Not True, Not False, TypeName(True And False), TypeName(Not True)  ' expect: False True Boolean Boolean

WScript.Echo Not 0, Not -1, Not 5, Not -6, TypeName(Not 0)          ' expect: -1 0 -6 5 Integer
WScript.Echo Not CByte(0), TypeName(Not CByte(0)), Not CByte(170)   ' expect: 255 Byte 85
WScript.Echo Not CLng(0), TypeName(Not CLng(0))                     ' expect: -1 Long
WScript.Echo Not 32768, TypeName(Not 32768)                         ' expect: -32769 Long
WScript.Echo Not Empty, TypeName(Not Empty)                         ' expect: -1 Integer
WScript.Echo Not 2.5, Not 3.5, TypeName(Not 2.5), Not "7"           ' expect: -3 -5 Long -8

WScript.Echo 6 And 3, 6 Or 3, 6 Xor 3, 6 Eqv 3, 6 Imp 3             ' expect: 2 7 5 -6 -5
WScript.Echo 12 And 10, 12 Or 10, 12 Xor 10, -1 And 255, 0 Or 0     ' expect: 8 14 6 255 0
WScript.Echo TypeName(6 And 3), TypeName(CLng(6) And 3), TypeName(CByte(6) And CByte(3))   ' expect: Integer Long Byte
WScript.Echo TypeName(CByte(6) And 3), TypeName(6 And 3.0), "6" Or 1         ' expect: Integer Long 7
WScript.Echo CByte(6) Eqv CByte(3), CByte(6) Imp CByte(3), CByte(240) Xor CByte(255)   ' expect: 250 251 15
WScript.Echo 2.5 And 7, 3.5 And 7, "6" And 3                        ' expect: 2 4 2
WScript.Echo 65536 Or 1, TypeName(65536 Or 1), &HFF00 And &HFF0    ' expect: 65537 Long 3840
WScript.Echo &H7FFFFFFF Xor -1, 2147483647 And 65535               ' expect: -2147483648 65535

' A Boolean with a number works on bits: True is all ones.
WScript.Echo True And 5, TypeName(True And 5), False Or 5, True Xor 1   ' expect: 5 Integer 5 -2
WScript.Echo Empty And Empty, TypeName(Empty And Empty), Empty Or 4 ' expect: 0 Integer 4

' Both operands are always evaluated: there is no short circuit.
Dim calls, x
Function Touch(v)
    calls = calls + 1
    Touch = v
End Function
calls = 0
x = Touch(False) And Touch(True)
x = Touch(True) Or Touch(False)
WScript.Echo calls                                                   ' expect: 4

' A condition is any value that converts to Boolean: non-zero is True. 2 And 4 is 0.
If 2 And 4 Then WScript.Echo "2 And 4 is true" Else WScript.Echo "2 And 4 is 0"   ' expect: 2 And 4 is 0
If 2 Then WScript.Echo "two is true"                                 ' expect: two is true
If CBool(2) And CBool(4) Then WScript.Echo "both true"               ' expect: both true
If "True" Then WScript.Echo "the string True is true"                ' expect: the string True is true
If "0" Then WScript.Echo "wrong" Else WScript.Echo "the string 0 is false"   ' expect: the string 0 is false
If Empty Then WScript.Echo "wrong" Else WScript.Echo "Empty is false"       ' expect: Empty is false
If 0.4 Then WScript.Echo "a fraction is true"                        ' expect: a fraction is true

On Error Resume Next
x = "abc" And 1
WScript.Echo Err.Number                                              ' expect: 13
Err.Clear
x = Not "abc"
WScript.Echo Err.Number                                              ' expect: 13
Err.Clear
x = Array(1) Or 1
WScript.Echo Err.Number                                              ' expect: 13
Err.Clear
x = 2147483648 And 1
WScript.Echo Err.Number                                              ' expect: 6
Err.Clear
If "abc" Then x = 1
WScript.Echo Err.Number                                              ' expect: 13
Err.Clear
