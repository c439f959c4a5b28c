' A run-time error stops the script and names the line where it happened, even deep in a call.
Function Inner(v)
    Inner = v + "text"        ' expect error line 3: Type mismatch
End Function
Function Outer()
    Outer = Inner(1)
End Function
WScript.Echo "before"         ' expect: before
WScript.Echo Outer()
WScript.Echo "not reached"
