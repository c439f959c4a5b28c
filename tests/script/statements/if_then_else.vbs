' Block and single-line If, ElseIf chains, Null conditions.
Dim x
x = 5
If x > 3 Then
    WScript.Echo "big"          ' expect: big
ElseIf x > 1 Then
    WScript.Echo "medium"
Else
    WScript.Echo "small"
End If

x = 2
If x > 3 Then
    WScript.Echo "big"
ElseIf x > 1 Then
    WScript.Echo "medium"       ' expect: medium
Else
    WScript.Echo "small"
End If

If x = 0 Then WScript.Echo "zero" Else WScript.Echo "not zero"   ' expect: not zero
If x = 2 Then WScript.Echo "a" : WScript.Echo "b"                ' expect: a
' expect: b
If x = 3 Then WScript.Echo "never" : WScript.Echo "never either"
if X = 2 then wscript.echo "any case"                            ' expect: any case

' A Null condition counts as False.
If Null Then
    WScript.Echo "null is true"
Else
    WScript.Echo "null is false"   ' expect: null is false
End If

' Nested blocks close in order.
If True Then
    If False Then
        WScript.Echo "inner"
    Else
        WScript.Echo "inner else"   ' expect: inner else
    End If
End If
