' Const values can be read anywhere and passed to procedures but never assigned; calls of
' unknown names, wrong argument counts and Set with a value that is no object fail.
Const Answer = 42, Name = "const", Neg = -5, Big = 100000, Half = 0.5, Flag = True
WScript.Echo Answer, Name, Neg, TypeName(Big), Half * 2, Flag, TypeName(Flag)   ' expect: 42 const -5 Long 1 True Boolean
Const HexConst = &HFF, Quote = "a""b"
WScript.Echo HexConst, Quote                                 ' expect: 255 a"b
Sub UsesConst()
    WScript.Echo Answer + 1                                  ' expect: 43
End Sub
UsesConst
Sub TryChange(v)
    v = 0
End Sub
TryChange Answer
WScript.Echo Answer                                          ' expect: 42
Function LocalConst()
    Const Answer = "local"
    LocalConst = Answer
End Function
WScript.Echo LocalConst(), Answer                            ' expect: local 42

Sub Two(a, b)
End Sub
Function NoArgs()
    NoArgs = 1
End Function

On Error Resume Next
Dim o, x
Answer = 1
WScript.Echo Err.Number, Answer                              ' expect: 501 42
Err.Clear
For Answer = 1 To 2
Next
WScript.Echo Err.Number, Answer                              ' expect: 501 42
Err.Clear

Set o = 1
WScript.Echo Err.Number, InStr(Err.Description, "Object required") = 1   ' expect: 424 True
Err.Clear
Set o = "text"
WScript.Echo Err.Number                                      ' expect: 424
Err.Clear
Set o = Array(1)
WScript.Echo Err.Number                                      ' expect: 424
Err.Clear
Set o = Nothing
WScript.Echo Err.Number, o Is Nothing                        ' expect: 0 True
Dim slots(1)
Set slots(0) = 1
WScript.Echo Err.Number, IsEmpty(slots(0))                   ' expect: 424 True
Err.Clear
Set slots(1) = Nothing
WScript.Echo Err.Number, slots(1) Is Nothing                 ' expect: 0 True
x = o.Anything
WScript.Echo Err.Number                                      ' expect: 424
Err.Clear
o = Nothing
WScript.Echo Err.Number                                      ' expect: 91
Err.Clear
x = 1
x.Member = 2
WScript.Echo Err.Number                                      ' expect: 424
Err.Clear

x = NoSuchFunction(1)
WScript.Echo Err.Number, Err.Description                     ' expect: 13 Type mismatch: 'NoSuchFunction'
Err.Clear
NoSuchSub 1
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
Call NoSuchSub(1, 2)
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear
x = 5
x = x(0)
WScript.Echo Err.Number                                      ' expect: 13
Err.Clear

Two 1
WScript.Echo Err.Number, Err.Description                     ' expect: 450 Wrong number of arguments or invalid property assignment: 'Two'
Err.Clear
Two 1, 2, 3
WScript.Echo Err.Number                                      ' expect: 450
Err.Clear
Call Two(1)
WScript.Echo Err.Number                                      ' expect: 450
Err.Clear
x = NoArgs(1)
WScript.Echo Err.Number                                      ' expect: 450
Err.Clear
x = Len()
WScript.Echo Err.Number                                      ' expect: 450
Err.Clear
On Error GoTo 0
Answer = 2                                                   ' expect error line 96: Illegal assignment: 'Answer'
