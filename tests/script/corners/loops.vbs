' For with fractional and negative steps and the counter left behind; Exit For and Exit Do from
' inside other blocks; For Each over arrays of several dimensions.
Dim i, s
s = ""
For i = 1 To 3 Step 0.5 : s = s & i & " " : Next
WScript.Echo s & "|", i, TypeName(i)                         ' expect: 1 1.5 2 2.5 3 | 3.5 Double
s = ""
For i = 3 To 1 Step -1 : s = s & i : Next
WScript.Echo s, i                                            ' expect: 321 0
s = ""
For i = 2 To -2 Step -2 : s = s & i & "," : Next
WScript.Echo s, i                                            ' expect: 2,0,-2, -4
s = ""
For i = -1 To -3 Step -0.5 : s = s & i & " " : Next
WScript.Echo s & "|", i                                      ' expect: -1 -1.5 -2 -2.5 -3 | -3.5
s = ""
For i = 1 To 2 Step -1 : s = s & i : Next
WScript.Echo "[" & s & "]", i                                ' expect: [] 1
s = ""
For i = 1.5 To 3 : s = s & i & " " : Next
WScript.Echo s & "|", i                                      ' expect: 1.5 2.5 | 3.5
s = ""
For i = 1 To 1 : s = s & "once" : Next
WScript.Echo s, i                                            ' expect: once 2
s = ""
For i = 10 To 1 Step -4.5 : s = s & i & " " : Next
WScript.Echo s & "|", i                                      ' expect: 10 5.5 1 | -3.5
s = ""
For i = 32766 To 32767 : s = s & i & " " : Next
WScript.Echo s & "|", i, TypeName(i)                         ' expect: 32766 32767 | 32768 Long

' Exit For inside Select Case leaves the innermost For only.
Dim j, log
log = ""
For i = 1 To 3
    For j = 1 To 3
        Select Case j
            Case 2
                Exit For
            Case Else
                log = log & i & j & " "
        End Select
    Next
Next
WScript.Echo log & "|", i, j                                 ' expect: 11 21 31 | 4 2

' Exit Do inside a For inside a Do leaves the Do, ending the For with it.
Dim n
n = 0
Do
    For i = 1 To 10
        n = n + 1
        If i = 3 Then Exit Do
    Next
    n = n + 100
Loop
WScript.Echo n, i                                            ' expect: 3 3
' Exit For inside a Do inside a For leaves the For.
n = 0
For i = 1 To 10
    Do While True
        n = n + 1
        If i = 2 Then Exit For
        Exit Do
    Loop
Next
WScript.Echo n, i                                            ' expect: 2 2
' Exit Do from a Select Case inside a Do.
n = 0
Do While True
    n = n + 1
    Select Case n
        Case 4: Exit Do
    End Select
Loop
WScript.Echo n                                               ' expect: 4
' Exit For from a single-line If inside For Each.
Dim item, found
For Each item In Array("a", "b", "c")
    If item = "b" Then found = item : Exit For
Next
WScript.Echo found, item                                     ' expect: b b
' Exit Do in a nested Do leaves only the inner one.
Dim outer
outer = 0
Do While outer < 3
    outer = outer + 1
    Do
        Exit Do
        outer = 100
    Loop
Loop
WScript.Echo outer                                           ' expect: 3

' For Each over two and three dimensions: the first index varies fastest.
Dim grid(1, 2), r, c
For r = 0 To 1
    For c = 0 To 2
        grid(r, c) = r & c
    Next
Next
s = ""
For Each item In grid : s = s & item & " " : Next
WScript.Echo s & "|"                                         ' expect: 00 10 01 11 02 12 |
Dim cube(1, 1, 1), a, b
For a = 0 To 1
    For b = 0 To 1
        For c = 0 To 1
            cube(a, b, c) = a & b & c
        Next
    Next
Next
s = ""
For Each item In cube : s = s & item & " " : Next
WScript.Echo s & "|"                                         ' expect: 000 100 010 110 001 101 011 111 |
' For Each over an empty array does nothing and leaves the variable alone.
item = "untouched"
For Each item In Array()
    WScript.Echo "never"
Next
WScript.Echo item                                            ' expect: untouched
' Changing the loop variable of For Each does not change the array.
Dim nums
nums = Array(1, 2, 3)
For Each item In nums
    item = item * 10
Next
WScript.Echo Join(nums, ",")                                 ' expect: 1,2,3

' Do loops with the condition at either end, While ... Wend, and loops that never run.
n = 10
Do While n < 5
    n = n + 1
Loop
WScript.Echo n                                               ' expect: 10
Do
    n = n + 1
Loop While n < 5
WScript.Echo n                                               ' expect: 11
n = 0
While n < 3
    n = n + 1
Wend
WScript.Echo n                                               ' expect: 3
n = 0
Do Until n >= 2 : n = n + 1 : Loop
WScript.Echo n                                               ' expect: 2

' For Each needs an array (or a collection object).
On Error Resume Next
For Each item In "abc"
    WScript.Echo "never"
Next
WScript.Echo Err.Number, Err.Description                     ' expect: 451 Object not a collection
Err.Clear
For Each item In 12
Next
WScript.Echo Err.Number                                      ' expect: 451
Err.Clear
