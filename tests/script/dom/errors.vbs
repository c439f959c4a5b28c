' xml: profile.xml
' DOM failures are run-time errors a script can handle.
On Error Resume Next
Dim root
Set root = Document.documentElement
root.noSuchMember
WScript.Echo Err.Number                     ' expect: 438
Err.Clear
root.selectNodes "///["
WScript.Echo Err.Number <> 0                ' expect: True
Err.Clear
root.appendChild 5
WScript.Echo Err.Number <> 0                ' expect: True
Err.Clear
root.setAttribute "x", Null
WScript.Echo Err.Number                     ' expect: 94
On Error GoTo 0
Dim missing
Set missing = root.selectSingleNode("dfns:nowhere")
WScript.Echo missing Is Nothing             ' expect: True
missing.getAttribute "x"                    ' expect error line 21: Object required
