Sub Two(a, b)
End Sub
Two 1                         ' expect error line 3: Wrong number of arguments
