' A rule handler tried from the command line.
WScript.Echo "channels: " & Document.selectNodes("//dfns:channel").length
Function Rename(elem, attr, value, ByRef out1, limit, ByRef out2)
    If Len(value) > limit Then
        out1 = 222
        Rename = 1
    Else
        elem.setAttribute attr.nodeName, value
        out2 = Len(value)
        Rename = 0
    End If
End Function
