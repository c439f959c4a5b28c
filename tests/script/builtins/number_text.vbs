' How a Double turns into text (CStr, &, Echo): up to 15 significant digits, no trailing zeros,
' and an exponent below 1E-4 or from 1E+15 on.
WScript.Echo 0.1 + 0.2, CStr(0.1 + 0.2), 1 - 0.9, 1.1 * 1.1          ' expect: 0.3 0.3 0.1 1.21
WScript.Echo 1 / 3, 2 / 3, -2 / 3                                    ' expect: 0.333333333333333 0.666666666666667 -0.666666666666667
WScript.Echo 10 / 4, 1 / 8, 100.0, -0.5, 3.0 * 2, 0.5 * 4            ' expect: 2.5 0.125 100 -0.5 6 2
WScript.Echo 1E+20, 1.5E-07, 1E15, 1E14, 123456789012345678         ' expect: 1E+20 1.5E-07 1E+15 100000000000000 1.23456789012346E+17
WScript.Echo 999999999999999, 1234567890123456, 2147483648, -2147483649   ' expect: 999999999999999 1.23456789012346E+15 2147483648 -2147483649
WScript.Echo 0.0001, 0.00001, 0.000123, 0.0000123, -0.00001          ' expect: 0.0001 1E-05 0.000123 1.23E-05 -1E-05
WScript.Echo 1E308, -1E-300, 1.5E300 * 1E8, 2.5E-10                 ' expect: 1E+308 -1E-300 1.5E+308 2.5E-10
WScript.Echo 12345678.9, 3.14159265358979, 0.1 * 3, 100 / 3          ' expect: 12345678.9 3.14159265358979 0.3 33.3333333333333
WScript.Echo 1E15 - 1, 1E15 + 1, 99999999999999.9                    ' expect: 999999999999999 1E+15 99999999999999.9
WScript.Echo CStr(CDbl("0.1") * 3), CDbl("1E-5") & "", 1 / 1024      ' expect: 0.3 1E-05 0.0009765625
' Whole-number subtypes print every digit.
WScript.Echo 32767, -32768, 2147483647, CByte(255), CLng(-2147483647 - 1)   ' expect: 32767 -32768 2147483647 255 -2147483648
' Text of a number is what comparisons of strings see.
WScript.Echo CStr(0.1 + 0.2) = "0.3", (1 / 3) & "" = "0.333333333333333"   ' expect: True True
WScript.Echo Len(CStr(2 / 3)), Len(CStr(1E+20))                      ' expect: 17 5
