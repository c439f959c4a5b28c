' Asc, AscW, Chr, ChrW: character codes. Asc looks at the first character only; code arguments
' are rounded half to even.
WScript.Echo Asc("A"), Asc("abc"), Asc(" "), Asc(1), Asc(True), TypeName(Asc("A"))   ' expect: 65 97 32 49 84 Integer
WScript.Echo AscW("A"), AscW(ChrW(8364)), AscW(ChrW(&H263A)), TypeName(AscW("A"))     ' expect: 65 8364 9786 Integer
WScript.Echo Chr(65), Chr(97) & Chr(98), Len(Chr(0)), Asc(Chr(0)), TypeName(Chr(65))  ' expect: A ab 1 0 String
WScript.Echo Chr(65.6), Chr(66.5), Chr("67"), Chr(CByte(68))                           ' expect: B B C D
WScript.Echo Chr(13) & Chr(10) = vbCrLf, Chr(9) = vbTab, Chr(34) & "q" & Chr(34)       ' expect: True True "q"
WScript.Echo ChrW(65), ChrW(97), Len(ChrW(8364)), ChrW(&H41), ChrW(65) = Chr(65)        ' expect: A a 1 A True
' Codes above 32767 come back negative from AscW, whose result is an Integer.
WScript.Echo ChrW(-1) = ChrW(65535), AscW(ChrW(65535)), AscW(ChrW(&H8000))             ' expect: True -1 -32768

Dim code, ok
ok = True
For code = 0 To 127
    If Asc(Chr(code)) <> code Then ok = False
    If AscW(ChrW(code)) <> code Then ok = False
    If Chr(code) <> ChrW(code) Then ok = False
Next
WScript.Echo ok                                                    ' expect: True
ok = True
For code = 0 To 32767 Step 97
    If AscW(ChrW(code)) <> code Then ok = False
Next
WScript.Echo ok                                                    ' expect: True
WScript.Echo UCase(Chr(97)), Asc(UCase("z")) - Asc("Z"), Chr(Asc("a") + 1)   ' expect: A 0 b

On Error Resume Next
Dim x
x = Asc("")
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = AscW("")
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = Asc(Empty)
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = Asc(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = Chr(256)
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = Chr(-1)
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = ChrW(65536)
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = ChrW(-32769)
WScript.Echo Err.Number                                            ' expect: 5
Err.Clear
x = Chr("x")
WScript.Echo Err.Number                                            ' expect: 13
Err.Clear
x = Chr(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
x = ChrW(Null)
WScript.Echo Err.Number                                            ' expect: 94
Err.Clear
