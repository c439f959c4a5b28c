' Null is "unknown": it passes through arithmetic, comparisons and Not, but & ignores it and a
' side of And/Or/Imp that decides the answer alone wins over it.
Dim n, x
n = Null
WScript.Echo n + 1, 1 - n, n * 0, n / 2, 2 / n, n \ 2, n Mod 2, n ^ 2, 2 ^ n, -n   ' expect: Null Null Null Null Null Null Null Null Null Null
WScript.Echo n + "a", "a" + n, n + Empty, n + n, TypeName(n + 1)   ' expect: Null Null Null Null Null
' Null wins before a zero divisor is looked at.
WScript.Echo n / 0, n \ 0, n Mod 0                                   ' expect: Null Null Null
WScript.Echo 1 + 2 * n, (n + 1) & "!"                                ' expect: Null !

WScript.Echo n & "x", "x" & n, TypeName(n & n), Len(n & "")          ' expect: x x Null 0
WScript.Echo n = n, n <> 1, n < 1, n = "", Not n                     ' expect: Null Null Null Null Null

' And: a False side decides. Or: a True side decides. Otherwise Null.
WScript.Echo n And False, False And n, n And True, True And n, n And n   ' expect: False False Null Null Null
WScript.Echo n Or True, True Or n, n Or False, False Or n, n Or n        ' expect: True True Null Null Null
WScript.Echo TypeName(n And False), TypeName(n Or True)                  ' expect: Boolean Boolean
' With numbers: 0 decides And.
WScript.Echo n And 0, TypeName(n And 0), n And 5, 0 And n              ' expect: 0 Integer Null 0
' Xor and Eqv always need both sides.
WScript.Echo n Xor True, n Xor False, n Eqv True, False Eqv n, n Xor n ' expect: Null Null Null Null Null
' Imp: a True conclusion or a False premise decides.
WScript.Echo n Imp True, False Imp n, True Imp n, n Imp False, n Imp n  ' expect: True True Null Null Null

' A Null condition is not met, and neither is its negation.
If n Then WScript.Echo "wrong" Else WScript.Echo "Null is not true"          ' expect: Null is not true
If Not n Then WScript.Echo "wrong" Else WScript.Echo "Not Null is not true"  ' expect: Not Null is not true
If n = n Then WScript.Echo "wrong" Else WScript.Echo "Null = Null is not true"   ' expect: Null = Null is not true
Do While n
    WScript.Echo "wrong"
    Exit Do
Loop
WScript.Echo IsNull(n), IsNull(n + 1), IsNull(Empty)                 ' expect: True True False

' Functions that must produce a value of their own refuse Null.
On Error Resume Next
x = CInt(n)
WScript.Echo Err.Number, Err.Description                             ' expect: 94 Invalid use of Null
Err.Clear
x = CStr(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
x = CBool(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
x = Chr(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
x = Asc(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
x = Sgn(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
x = Space(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
Dim arr(2)
x = arr(n)
WScript.Echo Err.Number                                              ' expect: 94
Err.Clear
On Error GoTo 0
x = CLng(n)                                                          ' expect error line 63: Invalid use of Null
