' Operands that are no number where a number is needed, and results beyond the Double range.
On Error Resume Next
Dim x, arr
arr = Array(1, 2)
x = "abc" + 1
WScript.Echo Err.Number, Err.Description                     ' expect: 13 Type mismatch
Err.Clear
x = 1 + "abc"
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = "" + 1
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = "1" - ""
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = "abc" * 2
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = "1.2.3" / 1
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = "12abc" - 1
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = -"abc"
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = "x" ^ 2
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = arr + 1
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = arr & ""
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = -arr
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = 1E308 * 10
WScript.Echo Err.Number, Err.Description                     ' expect: 6 Overflow
Err.Clear
x = -1E308 - 1E308
WScript.Echo Err.Number                                      ' expect: 6
Err.Clear
x = 1E200 ^ 2
WScript.Echo Err.Number                                      ' expect: 6
Err.Clear
x = "1E400" + 0
WScript.Echo Err.Number                                      ' expect: 6
Err.Clear
' A failed assignment leaves the variable as it was.
x = "kept"
x = "abc" * 1
WScript.Echo x, Err.Number                                   ' expect: kept 13
Err.Clear
' Well-formed numeric strings are accepted, with blanks around them.
x = "  12  " + 1
WScript.Echo x, Err.Number                                   ' expect: 13 0
x = "-1.5E+2" * 1
WScript.Echo x                                               ' expect: -150
On Error GoTo 0
x = "twelve" + 1                                             ' expect error line 64: Type mismatch
WScript.Echo "not reached"
