' On Error Resume Next: the failing statement is skipped, Err tells what happened, and a callee's
' error returns to the caller's next statement.
Dim x
On Error Resume Next
x = 1 / 0
WScript.Echo Err.Number, Err.Description      ' expect: 11 Division by zero
Err.Clear
WScript.Echo Err.Number                       ' expect: 0

Sub Fails()
    Dim y
    y = "abc" * 2
    WScript.Echo "not reached"
End Sub
Fails
WScript.Echo "after", Err.Number              ' expect: after 13

Err.Raise 1000, "rules", "custom failure"
WScript.Echo Err.Number, Err.Source, Err.Description   ' expect: 1000 rules custom failure
Err.Raise 9
WScript.Echo Err.Description                  ' expect: Subscript out of range

' Inside a block the next statement of the block runs.
If True Then
    x = CInt("many")
    WScript.Echo "inside", Err.Number         ' expect: inside 13
End If

On Error GoTo 0
WScript.Echo Err.Number                       ' expect: 0
Err.Raise 5                                   ' expect error line 31: Invalid procedure call or argument
WScript.Echo "not reached"
