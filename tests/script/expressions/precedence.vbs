' Operator precedence, from binding tightest: ^, unary -, * and /, \, Mod, + and -, &, the
' comparisons, Not, And, Or, Xor, Eqv, Imp. Operators of one level group from the left. Each
' case below gives a different result under any other grouping.
WScript.Echo -2 ^ 2, (-2) ^ 2, -2 ^ 2 + 1                     ' expect: -4 4 -3
WScript.Echo 2 ^ 3 ^ 2, 2 ^ -1, 2 ^ -2                        ' expect: 64 0.5 0.25
WScript.Echo TypeName(2 ^ 2), 4 ^ 0.5, 0 ^ 0, 10 ^ 3          ' expect: Double 2 1 1000
WScript.Echo 2 ^ 0.5                                          ' expect: 1.4142135623731
WScript.Echo 2 * 3 ^ 2, 2 + 3 * 4, (2 + 3) * 4, 10 - 4 - 3    ' expect: 18 14 20 3
WScript.Echo 12 / 2 * 3, 2 ^ 3 * 2, 100 / 10 / 5              ' expect: 18 16 2

' \ binds looser than * and /, and tighter than Mod.
WScript.Echo 10 \ 3 * 2, 10 / 4 \ 1, 11 \ 2 Mod 3             ' expect: 1 2 2
WScript.Echo 7 Mod 4 * 2, 10 Mod 4 \ 2, 7 Mod 3 + 1, 1 + 7 Mod 3   ' expect: 7 0 2 2
WScript.Echo 20 \ 2 \ 3, 20 Mod 7 Mod 4                       ' expect: 3 2

' & binds looser than arithmetic, tighter than comparison.
WScript.Echo 1 + 2 & 3, "a" & 1 + 2, 2 * 3 & 4, 1 & 2 + 3     ' expect: 33 a3 64 15
WScript.Echo 1 & 2 = "12", "a" & "b" = "ab"                   ' expect: True True

' Comparisons share one level and group from the left.
WScript.Echo 1 + 1 = 2, 1 < 2 = True, 3 > 2 > 1, 1 = 1 = 1   ' expect: True True False False

' Not binds looser than comparisons, tighter than And.
WScript.Echo Not 1 = 2, Not True = False, Not 0 + 1           ' expect: True True -2
WScript.Echo Not True And False, Not False Or True            ' expect: False True
WScript.Echo Not Not 5, Not 1 = 1                             ' expect: 5 False

' And over Or over Xor over Eqv over Imp.
WScript.Echo False And True Or True, True Or False And False  ' expect: True True
WScript.Echo True Xor True Or True, True Xor True And False   ' expect: False True
WScript.Echo False Eqv False Or True, False Imp False Eqv False   ' expect: False True
WScript.Echo 6 Or 1 And 4, 6 And 3 Xor 1                      ' expect: 6 3
WScript.Echo 1 Or 2 = 2, 1 + 2 And 6                          ' expect: -1 2

' Parentheses override everything.
WScript.Echo (1 + 2) * (3 + 4), ((2)), -(2 ^ 2), (-2) ^ 3     ' expect: 21 2 -4 -8
WScript.Echo (True Or False) And False, (5 > 3) + 1           ' expect: False 0

' In an assignment the first "=" assigns and the second compares.
Dim x
x = 1 = 1
WScript.Echo x, TypeName(x)                                   ' expect: True Boolean
x = 2 + 3 = 5 And 1 < 2
WScript.Echo x                                                ' expect: True

' (-8) ^ (1/3) has no real value.
On Error Resume Next
x = (-8) ^ (1 / 3)
WScript.Echo Err.Number                                       ' expect: 5
Err.Clear
x = 10 ^ 400
WScript.Echo Err.Number                                       ' expect: 6
Err.Clear
