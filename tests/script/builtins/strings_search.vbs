' InStr, InStrRev, StrComp, Replace: positions are 1-based, the compare argument picks binary (0)
' or text (1) comparison, and Null strings give Null (except in Replace).
WScript.Echo InStr("abcabc", "c"), InStr(4, "abcabc", "c"), InStr("abc", "x"), InStr("abc", "abc")   ' expect: 3 6 0 1
WScript.Echo InStr("abc", ""), InStr(2, "abc", ""), InStr("", "a"), InStr("ab", "abc")   ' expect: 1 2 0 0
WScript.Echo InStr(10, "abc", "a"), InStr(3, "abc", "c"), InStr(3, "abc", "b")          ' expect: 0 3 0
WScript.Echo InStr("aaa", "aa"), InStr(2, "aaa", "aa"), InStr(3, "aaa", "aa")           ' expect: 1 2 0
WScript.Echo InStr(1, "ABC", "b"), InStr(1, "ABC", "b", vbTextCompare), InStr(1, "ABC", "b", vbBinaryCompare), InStr(1, "ABC", "b", 1)   ' expect: 0 2 0 2
WScript.Echo InStr(123, 2), InStr(2.5, "abcabc", "a"), TypeName(InStr("a", "a"))        ' expect: 2 4 Long
WScript.Echo IsNull(InStr(Null, "a")), IsNull(InStr("a", Null)), IsNull(InStr(1, Null, "a"))   ' expect: True True True

WScript.Echo InStrRev("abcabc", "c"), InStrRev("abcabc", "c", 5), InStrRev("abcabc", "abc"), InStrRev("abcabc", "x")   ' expect: 6 3 4 0
WScript.Echo InStrRev("abcabc", "bc", 3), InStrRev("abcabc", "bc", 2), InStrRev("abcabc", "a", 1)   ' expect: 2 0 1
WScript.Echo InStrRev("abc", ""), InStrRev("abc", "", 2), InStrRev("", "a"), InStrRev("abc", "a", 10)   ' expect: 3 2 0 0
WScript.Echo InStrRev("ABCabc", "B", -1, vbTextCompare), InStrRev("ABCabc", "B"), InStrRev("aaa", "aa")   ' expect: 5 2 2
WScript.Echo IsNull(InStrRev(Null, "a")), IsNull(InStrRev("a", Null)), TypeName(InStrRev("a", "a"))   ' expect: True True Long

WScript.Echo StrComp("a", "b"), StrComp("b", "a"), StrComp("a", "a")                     ' expect: -1 1 0
WScript.Echo StrComp("A", "a"), StrComp("A", "a", vbTextCompare), StrComp("A", "a", 0), StrComp("a", "B", 1)   ' expect: -1 0 -1 -1
WScript.Echo StrComp("abc", "ab"), StrComp("", ""), StrComp("", "a"), StrComp("a ", "a") ' expect: 1 0 -1 1
WScript.Echo StrComp(10, 9), StrComp(10, 10), StrComp(True, "True")                     ' expect: -1 0 0
WScript.Echo IsNull(StrComp(Null, "a")), IsNull(StrComp("a", Null)), TypeName(StrComp("a", "b"))   ' expect: True True Integer

WScript.Echo Replace("abcabc", "b", "x"), Replace("abcabc", "B", "x"), Replace("abcabc", "B", "x", 1, -1, vbTextCompare)   ' expect: axcaxc abcabc axcaxc
WScript.Echo Replace("aaaa", "a", "b", 1, 2), Replace("aaaa", "aa", "b"), Replace("abc", "b", ""), Replace("aaa", "a", "aa")   ' expect: bbaa bb ac aaaaaa
' A start beyond 1 cuts off what lies before it.
WScript.Echo Replace("abcabc", "b", "x", 3), Replace("abcabc", "b", "x", 3, 0), Replace("abcabc", "b", "x", 2, 1)   ' expect: caxc cabc xcabc
WScript.Echo Replace("abc", "", "x"), "[" & Replace("abc", "a", "b", 4) & "]", "[" & Replace("", "a", "b") & "]"   ' expect: abc [] []
WScript.Echo Replace(12321, 2, 9), TypeName(Replace(1, 1, 2)), Replace("a.b.c", ".", "..")   ' expect: 19391 String a..b..c
WScript.Echo Replace("xAxa", "a", "-", 1, 1, 1), Replace("xAxa", "a", "-", 1, -1, 0)     ' expect: x-xa xAx-

On Error Resume Next
Dim x
x = InStr(0, "abc", "a")
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = InStr(-1, "abc", "a")
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = InStr(Null, "abc", "a")
WScript.Echo Err.Number                                    ' expect: 94
Err.Clear
x = InStrRev("abc", "a", 0)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = InStrRev("abc", "a", -2)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = Replace(Null, "a", "b")
WScript.Echo Err.Number                                    ' expect: 94
Err.Clear
x = Replace("abc", "a", "b", 0)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = Replace("abc", "a", "b", 1, -2)
WScript.Echo Err.Number                                    ' expect: 5
Err.Clear
x = InStr("abc")
WScript.Echo Err.Number                                    ' expect: 450
Err.Clear
x = StrComp("a")
WScript.Echo Err.Number                                    ' expect: 450
Err.Clear
x = Replace("a", "b")
WScript.Echo Err.Number                                    ' expect: 450
Err.Clear
