' For/Next with steps, For Each over arrays, Do in all its forms, While/Wend, Exit Do/For.
Dim i, s, n
s = ""
For i = 1 To 3
    s = s & i
Next
WScript.Echo s, i                    ' expect: 123 4

s = ""
For i = 10 To 1 Step -3
    s = s & i & ","
Next
WScript.Echo s                       ' expect: 10,7,4,1,

s = ""
For i = 0 To 1 Step 0.25
    s = s & i & " "
Next
WScript.Echo s                       ' expect: 0 0.25 0.5 0.75 1 

' The bounds are evaluated once; the body may change the counter.
n = 3
s = ""
For i = 1 To n
    n = 10
    s = s & i
Next
WScript.Echo s                       ' expect: 123
For i = 1 To 10
    i = i + 4
    WScript.Echo i                   ' expect: 5
Next                                 ' expect: 10

' A loop that never runs leaves the counter at the start.
For i = 5 To 1
    WScript.Echo "never"
Next
WScript.Echo i                       ' expect: 5

Dim item, total
total = 0
For Each item In Array(1, 2, 3, 4)
    total = total + item
Next
WScript.Echo total                   ' expect: 10

' For Each walks a copy: changing the array inside does not change the walk.
Dim arr
arr = Array("a", "b")
For Each item In arr
    arr(1) = "changed"
    WScript.Echo item                ' expect: a
Next                                 ' expect: b
WScript.Echo arr(1)                  ' expect: changed

n = 0
Do While n < 3
    n = n + 1
Loop
WScript.Echo n                       ' expect: 3
Do Until n = 0
    n = n - 1
Loop
WScript.Echo n                       ' expect: 0
Do
    n = n + 1
Loop While n < 0
WScript.Echo n                       ' expect: 1
Do
    n = n + 1
Loop Until n >= 5
WScript.Echo n                       ' expect: 5
Do
    n = n + 1
    If n = 8 Then Exit Do
Loop
WScript.Echo n                       ' expect: 8
While n > 6
    n = n - 1
Wend
WScript.Echo n                       ' expect: 6

' Exit Do leaves only the inner loop; Exit For inside a Do leaves the For.
Dim log
For i = 1 To 2
    Do
        log = log & i
        Exit Do
    Loop
Next
WScript.Echo log                     ' expect: 12
For i = 1 To 5
    Do
        If i = 2 Then Exit For
        Exit Do
    Loop
Next
WScript.Echo i                       ' expect: 2
