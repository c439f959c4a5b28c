' xml: profile.xml
' Changing the tree: create, append, insert, remove, replace, clone.
Dim channels, made, second, removed, copy
Set channels = Document.selectSingleNode("//dfns:channels")

' createNode in the profile's namespace joins it without a stray declaration.
Set made = Document.createNode(1, "channel", channels.namespaceURI)
made.setAttribute "name", "CH4"
WScript.Echo channels.appendChild(made) Is made        ' expect: True
WScript.Echo channels.childNodes.length                ' expect: 4
WScript.Echo channels.lastChild.xml                    ' expect: <channel name="CH4"/>
WScript.Echo made.parentNode Is channels               ' expect: True

Set second = channels.selectSingleNode("dfns:channel[@name='CH2']")
Set removed = channels.removeChild(second)
WScript.Echo removed Is second, second.parentNode Is Nothing   ' expect: True True
WScript.Echo channels.childNodes.length                ' expect: 3
' A removed node stays usable and can go back in.
second.setAttribute "name", "CH2b"
channels.insertBefore second, channels.firstChild
WScript.Echo channels.firstChild.getAttribute("name")  ' expect: CH2b
channels.insertBefore Document.createElement("tail"), Nothing
WScript.Echo channels.lastChild.nodeName               ' expect: tail

Dim old
Set old = channels.replaceChild(Document.createNode(1, "channel", channels.namespaceURI), channels.lastChild)
WScript.Echo old.nodeName, channels.lastChild.nodeName   ' expect: tail channel

Set copy = channels.cloneNode(True)
WScript.Echo copy.childNodes.length, copy.parentNode Is Nothing   ' expect: 5 True
WScript.Echo channels.cloneNode(False).childNodes.length          ' expect: 0
copy.firstChild.setAttribute "name", "changed in copy"
WScript.Echo channels.firstChild.getAttribute("name")             ' expect: CH2b

' selectNodes is a snapshot; childNodes follows the tree.
Dim snapshot, live
Set snapshot = channels.selectNodes("dfns:channel")
Set live = channels.childNodes
channels.removeChild channels.firstChild
WScript.Echo snapshot.length, live.length              ' expect: 5 4

' Setting text replaces the children.
Dim note
Set note = Document.selectSingleNode("//dfns:note")
note.text = "plain"
WScript.Echo note.childNodes.length, note.xml          ' expect: 1 <note>plain</note>

Dim extra
Set extra = Document.createAttribute("extra")
extra.value = "1"
WScript.Echo extra.nodeType, extra.value               ' expect: 2 1

' A node cannot go into itself.
On Error Resume Next
channels.firstChild.appendChild channels
WScript.Echo Err.Number <> 0                           ' expect: True
Err.Clear
WScript.Echo channels.childNodes.length                ' expect: 4
