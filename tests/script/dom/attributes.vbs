' xml: profile.xml
' Attributes: read, write, remove, as nodes, and the attribute map.
Dim setting, attr, map
Set setting = Document.selectSingleNode("/dfns:VeskProfile/dfns:factory_setting")
WScript.Echo setting.getAttribute("model")              ' expect: AVD81670
WScript.Echo IsNull(setting.getAttribute("missing"))    ' expect: True

setting.setAttribute "codeplug_version", 4
WScript.Echo setting.getAttribute("codeplug_version"), TypeName(setting.getAttribute("codeplug_version"))   ' expect: 4 String
setting.setAttribute "added", True
WScript.Echo setting.getAttribute("added")              ' expect: True
setting.removeAttribute "added"
WScript.Echo IsNull(setting.getAttribute("added"))      ' expect: True

Set attr = setting.getAttributeNode("model")
WScript.Echo attr.nodeType, attr.nodeName, attr.value, attr.text    ' expect: 2 model AVD81670 AVD81670
WScript.Echo TypeName(attr), attr.parentNode Is Nothing             ' expect: IXMLDOMAttribute True
attr.value = "AUD41670"
WScript.Echo setting.getAttribute("model")              ' expect: AUD41670
WScript.Echo setting.getAttributeNode("missing") Is Nothing   ' expect: True

Set map = setting.attributes
WScript.Echo map.length                                 ' expect: 3
WScript.Echo map.item(0).nodeName, map.getNamedItem("codeplug_phase").value   ' expect: model R
WScript.Echo map.getNamedItem("none") Is Nothing        ' expect: True
Dim a, all
For Each a In map
    all = all & a.nodeName & "=" & a.value & " "
Next
WScript.Echo all                                        ' expect: model=AUD41670 codeplug_phase=R codeplug_version=4 
WScript.Echo TypeName(map)                              ' expect: IXMLDOMNamedNodeMap

' An attribute selected by XPath is the same node as the one from the element.
WScript.Echo Document.selectSingleNode("//dfns:factory_setting/@model") Is setting.getAttributeNode("model")   ' expect: True
