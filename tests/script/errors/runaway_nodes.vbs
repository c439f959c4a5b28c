' xml: ../dom/profile.xml
' A handler that keeps making nodes is stopped before it eats the memory.
Dim root
Set root = Document.documentElement
Do
    root.appendChild Document.createElement("x")
Loop                          ' expect error: too many XML nodes
