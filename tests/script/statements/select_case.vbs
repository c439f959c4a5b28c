' Select Case with lists, strings, Case Else, and Exit For from inside a Case.
Dim i, s
For i = 1 To 5
    Select Case i
        Case 1
            s = "one"
        Case 2, 3
            s = "two or three"
        Case 4: s = "four"
        Case Else
            s = "other"
    End Select
    WScript.Echo i & " " & s
Next
' expect: 1 one
' expect: 2 two or three
' expect: 3 two or three
' expect: 4 four
' expect: 5 other

Select Case "b"
    Case "a": WScript.Echo "a"
    Case "B": WScript.Echo "binary compare says B"
    Case "b": WScript.Echo "b"      ' expect: b
End Select

' Exit For inside Select Case leaves the loop, not just the Select.
For i = 1 To 10
    Select Case i
        Case 3
            Exit For
    End Select
Next
WScript.Echo "stopped at " & i     ' expect: stopped at 3

' The subject is evaluated once.
Dim calls
Function Subject()
    calls = calls + 1
    Subject = 7
End Function
Select Case Subject()
    Case 1: WScript.Echo "1"
    Case 2: WScript.Echo "2"
    Case 7: WScript.Echo "seven"   ' expect: seven
End Select
WScript.Echo calls                 ' expect: 1

' No case matches and no Case Else: nothing happens. Null matches nothing.
Select Case Null
    Case Null: WScript.Echo "null matched"
End Select
WScript.Echo "done"                ' expect: done
