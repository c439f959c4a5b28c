' xml: profile.xml
' Reading the tree: names, types, namespaces, relatives, text and markup.
Dim root, channels, first
Set root = Document.documentElement
WScript.Echo root.nodeName, root.baseName, root.nodeType, root.namespaceURI   ' expect: VeskProfile VeskProfile 1 urn:vesk:profile:1
WScript.Echo TypeName(Document), TypeName(root)    ' expect: DOMDocument IXMLDOMElement
WScript.Echo Document.nodeType, Document.nodeName ' expect: 9 #document
WScript.Echo root.parentNode Is Nothing           ' expect: False
WScript.Echo root.parentNode Is Document          ' expect: True
WScript.Echo Document.parentNode Is Nothing       ' expect: True
WScript.Echo root.ownerDocument Is Document       ' expect: True

Set channels = root.selectSingleNode("dfns:channels")
WScript.Echo channels.childNodes.length, channels.hasChildNodes()   ' expect: 3 True
Set first = channels.firstChild
WScript.Echo first.getAttribute("name"), channels.lastChild.getAttribute("name")   ' expect: CH1 CH3
WScript.Echo first.nextSibling.getAttribute("name")                ' expect: CH2
WScript.Echo first.previousSibling Is Nothing                      ' expect: True
WScript.Echo channels.lastChild.nextSibling Is Nothing             ' expect: True
WScript.Echo first.nextSibling.previousSibling Is first            ' expect: True
WScript.Echo first.hasChildNodes()                                 ' expect: False

' text gathers descendants' text; xml is the markup.
Dim note
Set note = root.selectSingleNode("dfns:note")
WScript.Echo note.text                           ' expect: Hello there
WScript.Echo note.firstChild.nodeType, note.firstChild.nodeName, "[" & note.firstChild.text & "]"   ' expect: 3 #text [Hello ]
WScript.Echo note.firstChild.value               ' expect: Hello 
WScript.Echo IsNull(note.value)                  ' expect: True
WScript.Echo first.xml                           ' expect: <channel name="CH1" rx_freq_ndx="0"/>

' Node lists: length, item, default member, For Each, out of range gives Nothing.
Dim list, node, names
Set list = channels.childNodes
WScript.Echo list.item(1).getAttribute("name"), list(2).getAttribute("name")   ' expect: CH2 CH3
WScript.Echo list.item(3) Is Nothing, list.item(-1) Is Nothing                 ' expect: True True
For Each node In list
    names = names & node.getAttribute("name") & ";"
Next
WScript.Echo names                               ' expect: CH1;CH2;CH3;
WScript.Echo TypeName(list)                      ' expect: IXMLDOMNodeList
