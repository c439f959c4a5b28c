' The Err object: Number, Description, Source, Clear and Raise, its default member, and how a
' raised error reaches the caller.
WScript.Echo Err.Number, "[" & Err.Description & "]", "[" & Err.Source & "]"   ' expect: 0 [] []
On Error Resume Next
Dim x
x = 1 / 0
WScript.Echo Err.Number, Err.Description, InStr(Err.Source, "VBScript runtime error") > 0   ' expect: 11 Division by zero True
' Number is the default member.
x = Err
WScript.Echo x, TypeName(x)                                                   ' expect: 11 Long
' In an expression it stands for its Number too. Each check first stores a marker, so a failing
' expression shows up as that marker.
x = "failed" : x = Err + 1 : WScript.Echo x                                   ' expect: 12
x = "failed" : x = (Err = 11) : WScript.Echo x                                ' expect: True
x = "failed" : x = Err & "!" : WScript.Echo x                                 ' expect: 11!
x = "failed" : If Err <> 0 Then x = "the usual test works"
WScript.Echo x                                                                ' expect: the usual test works
x = "failed" : x = -Err : WScript.Echo x                                      ' expect: -11
x = "failed" : x = CStr(Err) : WScript.Echo x                                 ' expect: 11
x = "failed"
Select Case Err
    Case 11: x = "Select Case works"
End Select
WScript.Echo x                                                                ' expect: Select Case works
Err.Clear
WScript.Echo Err.Number, "[" & Err.Description & "]", "[" & Err.Source & "]"   ' expect: 0 [] []

Err.Raise 1000, "my.source", "went wrong"
WScript.Echo Err.Number, Err.Source, Err.Description                          ' expect: 1000 my.source went wrong
Err.Clear
' A standard number without a description takes the standard text.
Err.Raise 13
WScript.Echo Err.Number, Err.Description                                      ' expect: 13 Type mismatch
Err.Clear
Err.Raise 9, "here"
WScript.Echo Err.Number, Err.Source, Err.Description                          ' expect: 9 here Subscript out of range
Err.Clear
Err.Raise 1001
WScript.Echo Err.Number, Err.Description                                      ' expect: 1001 Unknown runtime error
Err.Clear
Err.Raise vbObjectError + 513, "app", "app error"
WScript.Echo Err.Number, Err.Number - vbObjectError, Err.Description          ' expect: -2147220991 513 app error
Err.Clear
Err.Raise "7"
WScript.Echo Err.Number, TypeName(Err.Number)                                 ' expect: 7 Long

' The properties can be set.
Err.Clear
Err.Number = 9
Err.Description = "mine"
Err.Source = "setter"
WScript.Echo Err.Number, Err.Description, Err.Source                          ' expect: 9 mine setter
Err.Clear

' An error raised in a procedure without its own handler ends that procedure and is seen by the
' caller, whose next statement runs.
Sub Failing()
    Err.Raise 5
    WScript.Echo "not reached"
End Sub
Failing
WScript.Echo Err.Number, Err.Description                                      ' expect: 5 Invalid procedure call or argument
Err.Clear
Function FailingValue()
    FailingValue = 1
    x = CInt("x")
    FailingValue = 2
End Function
x = "before"
x = FailingValue()
WScript.Echo x, Err.Number                                                    ' expect: before 13
Err.Clear

' A procedure with its own handler keeps going after its error.
Sub Careful()
    On Error Resume Next
    Err.Raise 1002, "careful", "handled inside"
    WScript.Echo "inside", Err.Number                                         ' expect: inside 1002
End Sub
Careful
WScript.Echo "after"                                                          ' expect: after
Err.Clear

' Exit Sub and Exit Function clear Err, as On Error Resume Next does; a statement that
' succeeds does not.
Sub ExitsEarly()
    On Error Resume Next
    Err.Raise 1005
    Exit Sub
End Sub
Function ExitsEarlyFunction()
    On Error Resume Next
    Err.Raise 1006
    ExitsEarlyFunction = "result"
    Exit Function
End Function
ExitsEarly
WScript.Echo Err.Number                                                       ' expect: 0
Err.Clear
x = ExitsEarlyFunction()
WScript.Echo x, Err.Number                                                    ' expect: result 0
Err.Clear
x = 1 / 0
x = "fine"
WScript.Echo Err.Number                                                       ' expect: 11
On Error Resume Next
WScript.Echo Err.Number                                                       ' expect: 0

' The latest error replaces the previous one.
x = CInt("x")
x = 1 / 0
WScript.Echo Err.Number                                                       ' expect: 11
Err.Clear

' Wrong use of Err itself. Raising error 0 would report no error at all, so it is refused.
Err.Raise
WScript.Echo Err.Number                                                       ' expect: 450
Err.Clear
Err.Raise 0
WScript.Echo Err.Number                                                       ' expect: 5
Err.Clear
Err.Raise "x"
WScript.Echo Err.Number                                                       ' expect: 13
Err.Clear
x = Err.NoSuchMember
WScript.Echo Err.Number                                                       ' expect: 438
Err.Clear

' On Error Resume Next in a procedure ends with that procedure: it does not carry over to the
' caller.
Sub SetsItsOwnHandler()
    On Error Resume Next
End Sub
On Error GoTo 0
SetsItsOwnHandler
Err.Raise 1234, "src", "final failure"   ' expect error line 136: final failure
WScript.Echo "not reached"
