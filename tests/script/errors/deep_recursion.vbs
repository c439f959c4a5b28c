' Unbounded recursion ends with a run-time error, not a crash.
Function Down(n)
    Down = Down(n + 1)        ' expect error line 3: Out of stack space
End Function
WScript.Echo Down(0)
