' A name declared twice in one scope is a compile error, so nothing of this script runs.
Dim twice
Dim twice                     ' expect error line 3: Name redefined
Const Fixed = 1
Dim Fixed                     ' expect error line 5: Name redefined
Sub Same()
End Sub
Sub Same()                    ' expect error line 8: Name redefined
End Sub
WScript.Echo "never printed"
