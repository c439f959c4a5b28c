' Several compile errors are reported at once, each where it is, and a block left open names
' the line that opened it.
Dim a
If a Then
    a = 1
For i = 1 To 3
    a = (1 + 2
Next
' expect error line 7: expected ')' to close '(' at line 7
' expect error line 11: 'End If' expected (to close 'If' at line 4)
