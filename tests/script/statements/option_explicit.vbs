Option Explicit
' Declared names work, wherever the Dim stands in the procedure; undeclared ones are errors.
Dim declared
declared = 1
WScript.Echo declared            ' expect: 1
Sub UsesLater()
    later = 2
    WScript.Echo later           ' expect: 2
    Dim later
End Sub
UsesLater
undeclared = 3                   ' expect error line 12: Variable is undefined: 'undeclared'
