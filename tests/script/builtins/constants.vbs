' The predefined constants.
WScript.Echo Len(vbCrLf), Asc(vbCr), Asc(vbLf), Asc(vbTab), vbCrLf = vbCr & vbLf   ' expect: 2 13 10 9 True
WScript.Echo vbNewLine = vbCrLf, Asc(vbFormFeed), Asc(vbVerticalTab), Len(vbNullString), Len(vbNullChar), Asc(vbNullChar)   ' expect: True 12 11 0 1 0
WScript.Echo vbBinaryCompare, vbTextCompare, vbUseDefault, vbTrue, vbFalse      ' expect: 0 1 -2 -1 0
WScript.Echo vbEmpty, vbNull, vbInteger, vbLong, vbSingle, vbDouble, vbCurrency, vbDate, vbString   ' expect: 0 1 2 3 4 5 6 7 8
WScript.Echo vbObject, vbError, vbBoolean, vbVariant, vbDataObject, vbDecimal, vbByte, vbArray   ' expect: 9 10 11 12 13 14 17 8192
WScript.Echo vbObjectError, vbObjectError + 1, Hex(vbObjectError)              ' expect: -2147221504 -2147221503 80040000
' Constant names ignore case like every other name.
WScript.Echo VBCRLF = vbcrlf, VbTab = Chr(9), VBTEXTCOMPARE                   ' expect: True True 1
WScript.Echo "a" & vbTab & "b" = "a" & Chr(9) & "b", InStr("x" & vbLf, vbLf) ' expect: True 2
' They work where a compare mode or a type number is expected.
WScript.Echo InStr(1, "ABC", "c", vbTextCompare), VarType("") = vbString, vbTrue = True   ' expect: 3 True True
Dim lines
lines = Split("a" & vbNewLine & "b" & vbNewLine & "c", vbNewLine)
WScript.Echo UBound(lines), lines(2)                                          ' expect: 2 c
