' Line continuation, colons, Rem, doubled quotes, &H and &O literals, and case-insensitive
' names and keywords.
Dim total
total = 1 + _
        2 + _
        3
WScript.Echo total                                          ' expect: 6
WScript.Echo "a", _
             "b"                                            ' expect: a b
Function Sum3(a, _
              b, c)
    Sum3 = a + b + c
End Function
WScript.Echo Sum3(1, _
                  2, 3)                                     ' expect: 6
WScript.Echo "con" & _
             "tinued"                                       ' expect: continued

Dim p, q : p = 1 : q = 2 : WScript.Echo p + q               ' expect: 3
p = 10 : If p > 5 Then q = "big" Else q = "small"
WScript.Echo q                                              ' expect: big

Rem a whole-line comment
REM in capitals
p = 5 : Rem a comment after a colon
rem lower case
WScript.Echo p                                              ' expect: 5
WScript.Echo "Rem inside a string is text"                  ' expect: Rem inside a string is text

WScript.Echo "say ""hi""", Len(""""), """" & "x" & """"     ' expect: say "hi" 1 "x"
WScript.Echo "it's", "a ' is not a comment here"            ' expect: it's a ' is not a comment here
WScript.Echo """""", Len(""""""), "[" & "" & "]"            ' expect: "" 2 []

WScript.Echo &HFF, &hff, &H10, &HFFFF, TypeName(&HFFFF)     ' expect: 255 255 16 -1 Integer
WScript.Echo &H7FFF, &H8000, TypeName(&H8000), &H10000, TypeName(&H10000)   ' expect: 32767 -32768 Integer 65536 Long
WScript.Echo &HFFFFFFFF, TypeName(&HFFFFFFFF), &H7FFFFFFF, &H80000000   ' expect: -1 Long 2147483647 -2147483648
WScript.Echo &O17, &O177777, &O10 + 1, &o7, -&H10           ' expect: 15 -1 9 7 -16
WScript.Echo 1.5E3, 1E-2, .5, 2.5e+1, 1e0                   ' expect: 1500 0.01 0.5 25 1

DIM Mixed : mixed = "m" : WScript.Echo MIXED, MiXeD         ' expect: m m
wscript.echo "lower"                                        ' expect: lower
WSCRIPT.ECHO "upper"                                        ' expect: upper
IF mixed = "m" THEN wscript.echo "upper if"                 ' expect: upper if
function lowerFn(X)
    LOWERFN = x * 2
end FUNCTION
WScript.Echo LowerFN(4), LOWERFN(5)                         ' expect: 8 10
WScript.Echo UCASE("x"), len("ab"), TRUE, false, typename(NULL), ISEMPTY(EMPTY)   ' expect: X 2 True False Null True
for each p in array(1, 2) : wscript.echo p : NEXT           ' expect: 1
' expect: 2
select case "X"
    CASE "x" : wscript.echo "text compare?"
    case ELSE : wscript.echo "binary"                       ' expect: binary
end select

Dim a_1, b2c, x_ : a_1 = 1 : b2c = 2 : x_ = 3
WScript.Echo a_1 + b2c + x_                                 ' expect: 6
' Names that merely begin with a keyword are ordinary names.
Dim remark, Endless, nextValue, ifX, order, modulus, toValue, stepper, Android, Nothing2
remark = 1 : Endless = 2 : nextValue = 3 : ifX = 4 : order = 5 : modulus = 6
toValue = 7 : stepper = 8 : Android = 9 : Nothing2 = 10
WScript.Echo remark, Endless, nextValue, ifX, order, modulus, toValue, stepper, Android, Nothing2   ' expect: 1 2 3 4 5 6 7 8 9 10
	WScript.Echo "indented with a tab"                      ' expect: indented with a tab

' Blank lines and lines of only a colon are fine.

:
WScript.Echo "end"                                          ' expect: end
