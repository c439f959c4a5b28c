' Err.Raise with the source left out between commas: the description still applies. (A file of
' its own because a parser that refuses the empty argument rejects the whole script.)
On Error Resume Next
Err.Raise 6, , "custom overflow"
WScript.Echo Err.Number, Err.Description              ' expect: 6 custom overflow
Err.Clear
Err.Raise 1003, , "no source given"
WScript.Echo Err.Number, Err.Description              ' expect: 1003 no source given
Err.Clear
On Error GoTo 0
Err.Raise 1004, , "left unhandled"                    ' expect error line 11: left unhandled
