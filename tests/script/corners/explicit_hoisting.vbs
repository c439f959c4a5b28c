Option Explicit
' Under Option Explicit a Dim anywhere in a scope declares the name for the whole scope, even a
' Dim that never runs; ReDim declares too; any other undeclared name is an error when it is
' reached.
usedBeforeDim = "early"
WScript.Echo usedBeforeDim                                   ' expect: early
Dim usedBeforeDim

If False Then
    Dim declaredInDeadCode
End If
declaredInDeadCode = 3
WScript.Echo declaredInDeadCode                              ' expect: 3

Dim i
For i = 1 To 2
    Dim inLoop
    inLoop = inLoop & i
Next
WScript.Echo inLoop                                          ' expect: 12

Sub Proc()
    local1 = "sub local"
    WScript.Echo local1                                      ' expect: sub local
    Select Case 1
        Case 2
            Dim local1
    End Select
End Sub
Proc

Function UsesGlobal()
    UsesGlobal = usedBeforeDim & "/" & declaredInDeadCode
End Function
WScript.Echo UsesGlobal()                                    ' expect: early/3

Dim a, b, c
a = 1 : b = 2 : c = a + b
WScript.Echo c                                               ' expect: 3

' Undeclared names fail where they are used, also inside procedures, also when only read.
Sub Sloppy()
    notDeclared = 1
End Sub
On Error Resume Next
' ReDim is a declaration of its own.
ReDim viaReDim(2)
WScript.Echo Err.Number                                      ' expect: 0
Err.Clear
Sloppy
WScript.Echo Err.Number, Err.Description                     ' expect: 500 Variable is undefined: 'notDeclared'
Err.Clear
WScript.Echo alsoUndeclared
WScript.Echo Err.Number                                      ' expect: 500
Err.Clear
For Each undeclaredLoopVar In Array(1)
Next
WScript.Echo Err.Number                                      ' expect: 500
Err.Clear
On Error GoTo 0
neverDeclared = 1                                            ' expect error line 61: Variable is undefined: 'neverDeclared'
