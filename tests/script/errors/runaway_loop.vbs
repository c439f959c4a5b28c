' steps: 5000
' A loop that never ends is stopped by the step budget, and On Error Resume Next cannot keep it
' going.
On Error Resume Next
Dim n
Do
    n = n + 1
Loop                          ' expect error: ran too long
