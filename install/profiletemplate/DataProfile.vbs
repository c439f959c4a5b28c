Option Explicit
' (First line: the installation's file reader takes a script as plain text only
' when it begins with Option Explicit.)

' Profile rules of the ZN420 CPS.
'
' The data items call these functions by the names given in DataProfile.xsd.
' Outcome codes shared with the pages: 0 accepted, 1 refused (out1 carries the
' message number, out2 the message-box style), 2 needs confirmation (the
' caller asks the user with out1/out2 and calls again with the confirmation
' argument set to a non-zero value).
' Where an attribute has a SetVal handler, the data item writes nothing
' itself, so every accepting handler below stores the value on its own.

Const RESULT_OK = 0
Const RESULT_REFUSED = 1
Const RESULT_CONFIRM = 2

' MB_OK with the exclamation icon: a refusal only needs acknowledging.
Const STYLE_REFUSE = 48
' MB_YESNO with the question icon: the pages repeat the call on Yes only.
Const STYLE_CONFIRM = 36

Const MSG_NAME_CHARS = 222
Const MSG_NAME_TAKEN = 298
Const MSG_POWERUP_CHARS = 280
Const MSG_STATION_ID = 491
Const MSG_HANGTIME = 492
Const MSG_LOW_BATTERY = 506
Const MSG_TONE = 478
Const MSG_VRC = 526
Const MSG_BUTTON_TAKEN = 281
Const MSG_PRESET = 282
Const MSG_PASSWORD = 212
Const MSG_INVALID = 261
Const MSG_LAST_CHANNEL = 338
Const MSG_PRESET_DELETE = 401
Const MSG_OUT_OF_BAND = 269
Const MSG_MURS = 284
Const MSG_BANDWIDTH = 285
Const MSG_POWER = 286
Const MSG_FREQ_EXISTS = 287
Const MSG_FREQ_IN_USE = 288
Const MSG_FREQ_EXISTS_EDIT = 385
Const MSG_FREQ_CHANNELS_CHANGE = 394

' The image holds 19 channel records and 99 frequency records.
Const IMAGE_CHANNELS = 19
Const IMAGE_FREQUENCIES = 99

' Characters the radio's display can render.
Const DISPLAY_CHARS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789bcdghliour*{}?&%.+/\-' "

' ---------------------------------------------------------------- helpers

Function Refuse(msg, ByRef out1, ByRef out2)
    out1 = msg
    out2 = STYLE_REFUSE
    Refuse = RESULT_REFUSED
End Function

Function AskConfirm(msg, ByRef out1, ByRef out2)
    out1 = msg
    out2 = STYLE_CONFIRM
    AskConfirm = RESULT_CONFIRM
End Function

' Values arrive as the caller had them: numbers, booleans or text. Anything
' that is not a whole, non-negative number is rejected here so that every rule
' compares plain numbers.
Function ToWhole(v, ByRef n)
    Dim s, i, c
    ToWhole = False
    If IsNull(v) Or IsEmpty(v) Or IsObject(v) Then Exit Function
    If VarType(v) = vbBoolean Then
        If v Then n = 1 Else n = 0
        ToWhole = True
        Exit Function
    End If
    s = Trim(CStr(v))
    If Len(s) = 0 Or Len(s) > 10 Then Exit Function
    For i = 1 To Len(s)
        c = Mid(s, i, 1)
        If c < "0" Or c > "9" Then Exit Function
    Next
    n = CDbl(s)
    ToWhole = True
End Function

Function ToFlag(v, ByRef n)
    ToFlag = False
    If ToWhole(v, n) Then ToFlag = (n = 0 Or n = 1)
End Function

Function ToText(v)
    If IsNull(v) Or IsEmpty(v) Then
        ToText = ""
    Else
        ToText = CStr(v)
    End If
End Function

Function OnlyChars(s, allowed)
    Dim i
    OnlyChars = False
    For i = 1 To Len(s)
        If InStr(1, allowed, Mid(s, i, 1), vbBinaryCompare) = 0 Then Exit Function
    Next
    OnlyChars = True
End Function

Function Store(elem, attr, value)
    elem.setAttribute attr.nodeName, CStr(value)
    Store = RESULT_OK
End Function

Function NumAttr(elem, name)
    Dim v
    v = elem.getAttribute(name)
    If IsNull(v) Then
        NumAttr = 0
    ElseIf Len(Trim(v)) = 0 Then
        NumAttr = 0
    Else
        NumAttr = CDbl(v)
    End If
End Function

Function SettingOf(node)
    Set SettingOf = node.ownerDocument.selectSingleNode("//dfns:setting")
End Function

Function LimitOf(node)
    Set LimitOf = node.ownerDocument.selectSingleNode("//dfns:limit")
End Function

Function ChannelsOf(node)
    Set ChannelsOf = node.ownerDocument.selectSingleNode("//dfns:channels")
End Function

Function FrequenciesOf(node)
    Set FrequenciesOf = node.ownerDocument.selectSingleNode("//dfns:frequencies")
End Function

Function ChannelList(node)
    Set ChannelList = ChannelsOf(node).selectNodes("dfns:channel")
End Function

Function FrequencyList(node)
    Set FrequencyList = FrequenciesOf(node).selectNodes("dfns:frequency")
End Function

Function PresetList(node)
    Set PresetList = SettingOf(node).selectNodes("dfns:preset")
End Function

' Channel elements beyond numberChannels may linger as spare records; only
' the first numberChannels ones are channels of the radio.
Function ValidChannelCount(node)
    Dim n, total
    n = NumAttr(SettingOf(node), "numberChannels")
    total = ChannelList(node).length
    If n > total Then n = total
    ValidChannelCount = n
End Function

Function IsEnabled(channel)
    IsEnabled = (NumAttr(channel, "disable_channel") = 0)
End Function

Function EnabledChannelCount(node)
    Dim list, i, count
    Set list = ChannelList(node)
    count = 0
    For i = 0 To ValidChannelCount(node) - 1
        If IsEnabled(list.item(i)) Then count = count + 1
    Next
    EnabledChannelCount = count
End Function

Function ChannelIndexOf(channel)
    Dim list, i
    Set list = ChannelList(channel)
    ChannelIndexOf = -1
    For i = 0 To list.length - 1
        If list.item(i) Is channel Then
            ChannelIndexOf = i
            Exit Function
        End If
    Next
End Function

Function FirstEnabledChannel(node)
    Dim list, i
    Set list = ChannelList(node)
    FirstEnabledChannel = 0
    For i = 0 To ValidChannelCount(node) - 1
        If IsEnabled(list.item(i)) Then
            FirstEnabledChannel = i
            Exit Function
        End If
    Next
End Function

Function NameTaken(node, name, except)
    Dim list, i, other
    Set list = ChannelList(node)
    NameTaken = False
    For i = 0 To list.length - 1
        Set other = list.item(i)
        If Not (other Is except) Then
            If UCase(ToText(other.getAttribute("name"))) = UCase(name) Then
                NameTaken = True
                Exit Function
            End If
        End If
    Next
End Function

' ---------------------------------------------------------------- channels

Function CanAddChannel(elem)
    Dim n, limitMax
    n = NumAttr(SettingOf(elem), "numberChannels")
    limitMax = NumAttr(LimitOf(elem), "maxChannels")
    CanAddChannel = (n < limitMax And n < IMAGE_CHANNELS)
End Function

Function ChannelAttributeNames()
    ChannelAttributeNames = Array("rx_freq_ndx", "rx_code", "tx_freq_ndx", "tx_code", _
        "rx_bw", "tx_bw", "talkaround_power", "repeater_power", "repeater", "autoScan", _
        "scramble_code", "name", "disable_channel", "talkaround_scan", "in_scanlist")
End Function

Function DefaultChannelValues()
    DefaultChannelValues = Array("0", "0", "0", "0", _
        "0", "0", "1", "1", "0", "0", _
        "0", "", "0", "0", "0")
End Function

Function AddChannel(elem)
    Dim setting, list, n, names, values, i, channel, source, k, name
    AddChannel = 0
    If Not CanAddChannel(elem) Then Exit Function

    Set setting = SettingOf(elem)
    Set list = elem.selectNodes("dfns:channel")
    n = ValidChannelCount(elem)
    names = ChannelAttributeNames()
    values = DefaultChannelValues()
    ' A new channel starts like the one the user made last, so a run of
    ' similar channels needs few edits.
    If n > 0 Then
        Set source = list.item(n - 1)
        For i = 0 To UBound(names)
            If Not IsNull(source.getAttribute(names(i))) Then values(i) = source.getAttribute(names(i))
        Next
    End If

    If list.length > n Then
        Set channel = list.item(n)
    Else
        Set channel = elem.ownerDocument.createNode(1, "channel", elem.namespaceURI)
        elem.appendChild channel
    End If

    ' Names are cleared first so that a reused record's own old name does not
    ' block the search below.
    channel.setAttribute "name", ""
    k = 1
    name = "CHAN " & k
    Do While NameTaken(elem, name, channel)
        k = k + 1
        name = "CHAN " & k
    Loop

    For i = 0 To UBound(names)
        channel.setAttribute names(i), CStr(values(i))
    Next
    channel.setAttribute "name", name
    channel.setAttribute "disable_channel", "0"

    setting.setAttribute "numberChannels", CStr(n + 1)
    Set AddChannel = channel
End Function

Function CanDeleteChannel(elem)
    CanDeleteChannel = False
    If ValidChannelCount(elem) <= 1 Then Exit Function
    If IsEnabled(elem) And EnabledChannelCount(elem) <= 1 Then Exit Function
    CanDeleteChannel = True
End Function

Function DeleteChannel(elem, index, ByRef out1, confirmed, ByRef out2)
    Dim presets, i, preset, p, isPreset, remaining, target, list
    Set presets = PresetList(elem)

    isPreset = False
    For i = 0 To presets.length - 1
        If NumAttr(presets.item(i), "channel") = CDbl(index) Then isPreset = True
    Next
    If isPreset And confirmed = 0 Then
        DeleteChannel = AskConfirm(MSG_PRESET_DELETE, out1, out2)
        Exit Function
    End If
    If Not CanDeleteChannel(elem) Then
        DeleteChannel = Refuse(MSG_LAST_CHANNEL, out1, out2)
        Exit Function
    End If

    Dim setting, n
    Set setting = SettingOf(elem)
    n = NumAttr(setting, "numberChannels")
    elem.parentNode.removeChild elem
    If CDbl(index) < n Then n = n - 1
    setting.setAttribute "numberChannels", CStr(n)
    remaining = ValidChannelCount(setting)
    Set list = ChannelList(setting)

    For i = 0 To presets.length - 1
        Set preset = presets.item(i)
        p = NumAttr(preset, "channel")
        If p > CDbl(index) Then
            p = p - 1
        ElseIf p = CDbl(index) Then
            ' The channel that moved into the deleted place, or the last one,
            ' keeps the button pointing at a real channel.
            target = p
            If target >= remaining Then target = remaining - 1
            If target < 0 Then target = 0
            If remaining > 0 Then
                If Not IsEnabled(list.item(target)) Then target = FirstEnabledChannel(setting)
            End If
            p = target
        End If
        preset.setAttribute "channel", CStr(p)
    Next
    DeleteChannel = RESULT_OK
End Function

' ---------------------------------------------------------------- channel attributes

Function SetChannelName(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim s
    s = ToText(value)
    If Len(s) = 0 Or Len(s) > 8 Or Not OnlyChars(s, DISPLAY_CHARS) Then
        SetChannelName = Refuse(MSG_NAME_CHARS, out1, out2)
    ElseIf NameTaken(elem, s, elem) Then
        SetChannelName = Refuse(MSG_NAME_TAKEN, out1, out2)
    Else
        SetChannelName = Store(elem, attr, s)
    End If
End Function

Function SetDisableChannel(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim n, index, presets, i
    If Not ToFlag(value, n) Then
        SetDisableChannel = Refuse(MSG_INVALID, out1, out2)
        Exit Function
    End If
    If n = 1 And IsEnabled(elem) Then
        If EnabledChannelCount(elem) <= 1 Then
            SetDisableChannel = Refuse(MSG_LAST_CHANNEL, out1, out2)
            Exit Function
        End If
        Store elem, attr, n
        ' The radio cannot scan or jump to a disabled channel.
        elem.setAttribute "in_scanlist", "0"
        index = ChannelIndexOf(elem)
        Set presets = PresetList(elem)
        For i = 0 To presets.length - 1
            If NumAttr(presets.item(i), "channel") = index Then
                presets.item(i).setAttribute "channel", CStr(FirstEnabledChannel(elem))
            End If
        Next
        SetDisableChannel = RESULT_OK
    Else
        SetDisableChannel = Store(elem, attr, n)
    End If
End Function

Function SetInScanList(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim n
    If Not ToFlag(value, n) Then
        SetInScanList = Refuse(MSG_INVALID, out1, out2)
    ElseIf n = 1 And Not IsEnabled(elem) Then
        SetInScanList = Refuse(MSG_INVALID, out1, out2)
    Else
        SetInScanList = Store(elem, attr, n)
    End If
End Function

Function SetPresetChannel(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim n
    SetPresetChannel = Refuse(MSG_PRESET, out1, out2)
    If Not ToWhole(value, n) Then Exit Function
    If n >= ValidChannelCount(elem) Then Exit Function
    If Not IsEnabled(ChannelList(elem).item(n)) Then Exit Function
    out1 = 0
    out2 = 0
    SetPresetChannel = Store(elem, attr, n)
End Function

' ---------------------------------------------------------------- settings

Function SetRangeChecked(elem, attr, value, low, high, msg, ByRef out1, ByRef out2)
    Dim n
    If Not ToWhole(value, n) Then
        SetRangeChecked = Refuse(msg, out1, out2)
    ElseIf n < low Or n > high Then
        SetRangeChecked = Refuse(msg, out1, out2)
    Else
        SetRangeChecked = Store(elem, attr, n)
    End If
End Function

Function SetSettingFlag(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetSettingFlag = SetRangeChecked(elem, attr, value, 0, 1, MSG_INVALID, out1, out2)
End Function

Function SetProgrammingMode(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetProgrammingMode = SetRangeChecked(elem, attr, value, 0, 1, MSG_INVALID, out1, out2)
End Function

Function SetBacklightEnabled(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetBacklightEnabled = SetRangeChecked(elem, attr, value, 0, 1, MSG_INVALID, out1, out2)
End Function

Function SetScrambleButtonMode(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetScrambleButtonMode = SetRangeChecked(elem, attr, value, 0, 1, MSG_INVALID, out1, out2)
End Function

Function SetBacklightTimeout(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetBacklightTimeout = SetRangeChecked(elem, attr, value, 0, 255, MSG_INVALID, out1, out2)
End Function

Function SetTimeoutTimer(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetTimeoutTimer = SetRangeChecked(elem, attr, value, 0, 255, MSG_INVALID, out1, out2)
End Function

Function SetCallTone(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetCallTone = SetRangeChecked(elem, attr, value, 0, NumAttr(LimitOf(elem), "max_call_tones"), _
        MSG_INVALID, out1, out2)
End Function

Function SetRepeaterIdMode(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetRepeaterIdMode = SetRangeChecked(elem, attr, value, 0, 3, MSG_INVALID, out1, out2)
End Function

Function SetBatteryAlertTone(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetBatteryAlertTone = SetRangeChecked(elem, attr, value, 0, 4, MSG_INVALID, out1, out2)
End Function

Function SetRepHangtime(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetRepHangtime = SetRangeChecked(elem, attr, value, 0, 50, MSG_HANGTIME, out1, out2)
End Function

Function SetLowBatteryTx(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetLowBatteryTx = SetRangeChecked(elem, attr, value, 0, 255, MSG_LOW_BATTERY, out1, out2)
End Function

' 67.0 to 255.0 Hz in tenths.
Function SetCustomTone(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetCustomTone = SetRangeChecked(elem, attr, value, 670, 2550, MSG_TONE, out1, out2)
End Function

' Octal 001 to 777, stored as the number the octal digits denote.
Function SetCustomDigitalCode(elem, attr, value, ByRef out1, arg, ByRef out2)
    SetCustomDigitalCode = SetRangeChecked(elem, attr, value, 1, 511, MSG_VRC, out1, out2)
End Function

Function SetPassword(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim s
    s = ToText(value)
    If Len(s) = 0 Then
        SetPassword = Store(elem, attr, s)
    ElseIf Len(s) = 4 And OnlyChars(s, "0123456789") Then
        SetPassword = Store(elem, attr, s)
    Else
        SetPassword = Refuse(MSG_PASSWORD, out1, out2)
    End If
End Function

Function SetPowerUpString(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim s
    s = ToText(value)
    If Len(s) > 8 Or Not OnlyChars(s, DISPLAY_CHARS) Then
        SetPowerUpString = Refuse(MSG_POWERUP_CHARS, out1, out2)
    Else
        SetPowerUpString = Store(elem, attr, s)
    End If
End Function

Function SetStationID(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim s
    s = ToText(value)
    If Len(s) > 9 Or Not OnlyChars(s, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789") Then
        SetStationID = Refuse(MSG_STATION_ID, out1, out2)
    Else
        SetStationID = Store(elem, attr, s)
    End If
End Function

Function ButtonAttributeNames()
    ButtonAttributeNames = Array("side1_but", "side2_but", "upper_right_but", "lower_left_but", "lower_right_but")
End Function

' Function 0 is "no function" and may sit on any number of buttons.
Function SetButtonFunction(elem, attr, value, ByRef out1, arg, ByRef out2)
    Dim n, names, i
    If Not ToWhole(value, n) Then
        SetButtonFunction = Refuse(MSG_INVALID, out1, out2)
        Exit Function
    End If
    If n > 15 Then
        SetButtonFunction = Refuse(MSG_INVALID, out1, out2)
        Exit Function
    End If
    If n <> 0 Then
        names = ButtonAttributeNames()
        For i = 0 To UBound(names)
            If names(i) <> attr.nodeName Then
                If NumAttr(elem, names(i)) = n Then
                    SetButtonFunction = Refuse(MSG_BUTTON_TAKEN, out1, out2)
                    Exit Function
                End If
            End If
        Next
    End If
    SetButtonFunction = Store(elem, attr, n)
End Function

' ---------------------------------------------------------------- frequencies

Function IsMurs(f)
    IsMurs = (f = 151820000 Or f = 151880000 Or f = 151940000 Or f = 154570000 Or f = 154600000)
End Function

' Regions under the narrowband mandate cannot carry 25 kHz in any form.
Function IsNarrowbandRegion(node)
    Dim model, region
    model = ToText(node.ownerDocument.selectSingleNode("//dfns:factory_setting").getAttribute("model"))
    region = Right(model, 2)
    IsNarrowbandRegion = (region = "00" Or region = "04" Or region = "70")
End Function

' Returns 0 when the entry is acceptable, else the message number. skipIndex
' is the entry being edited (it may keep its own frequency), -1 when adding.
Function CheckFrequencyEntry(elem, freq, bandwidth, power, compander, skipIndex, dupMsg, ByRef f, ByRef bw, ByRef pw, ByRef comp)
    Dim limit, list, i
    Set limit = LimitOf(elem)
    If Not ToWhole(freq, f) Then
        CheckFrequencyEntry = MSG_OUT_OF_BAND
        Exit Function
    End If
    ' MURS comes first: it is refused on every model, whatever its band.
    If IsMurs(f) Then
        CheckFrequencyEntry = MSG_MURS
        Exit Function
    End If
    If f < NumAttr(limit, "start_freq") Or f > NumAttr(limit, "end_freq") Then
        CheckFrequencyEntry = MSG_OUT_OF_BAND
        Exit Function
    End If
    Set list = FrequencyList(elem)
    For i = 0 To list.length - 1
        If i <> skipIndex Then
            If NumAttr(list.item(i), "freq") = f Then
                CheckFrequencyEntry = dupMsg
                Exit Function
            End If
        End If
    Next
    If Not ToWhole(bandwidth, bw) Then
        CheckFrequencyEntry = MSG_BANDWIDTH
        Exit Function
    End If
    If bw > 3 Or (bw <> 0 And IsNarrowbandRegion(elem)) Then
        CheckFrequencyEntry = MSG_BANDWIDTH
        Exit Function
    End If
    If Not ToWhole(power, pw) Then
        CheckFrequencyEntry = MSG_POWER
        Exit Function
    End If
    If pw > 3 Then
        CheckFrequencyEntry = MSG_POWER
        Exit Function
    End If
    ' A model without power control transmits at one fixed level: the user cannot select one.
    If pw >= 2 And NumAttr(LimitOf(elem), "power_cntrl_enabled") = 0 Then
        CheckFrequencyEntry = MSG_POWER
        Exit Function
    End If
    If Not ToWhole(compander, comp) Then
        CheckFrequencyEntry = MSG_INVALID
        Exit Function
    End If
    If comp > 255 Then
        CheckFrequencyEntry = MSG_INVALID
        Exit Function
    End If
    CheckFrequencyEntry = 0
End Function

Sub WriteFrequencyEntry(entry, f, bw, pw, comp)
    entry.setAttribute "freq", CStr(f)
    entry.setAttribute "bandwidth", CStr(bw)
    entry.setAttribute "power_level", CStr(pw)
    entry.setAttribute "compander_lle_mode", CStr(comp)
End Sub

' The limits count the table's entries: a write to the radio sends that many
' frequency records, so the count changes with every entry added or deleted.
Sub CountFrequencies(table)
    LimitOf(table).setAttribute "max_valid_freqs", CStr(table.selectNodes("dfns:frequency").length)
End Sub

Function CanAddFrequency(elem)
    CanAddFrequency = (elem.selectNodes("dfns:frequency").length < IMAGE_FREQUENCIES)
End Function

Function AddFrequency(elem, freq, bandwidth, power, compander, ByRef out1, ByRef out2)
    Dim msg, f, bw, pw, comp, entry
    If Not CanAddFrequency(elem) Then
        AddFrequency = Refuse(MSG_INVALID, out1, out2)
        Exit Function
    End If
    msg = CheckFrequencyEntry(elem, freq, bandwidth, power, compander, -1, MSG_FREQ_EXISTS, f, bw, pw, comp)
    If msg <> 0 Then
        AddFrequency = Refuse(msg, out1, out2)
        Exit Function
    End If
    Set entry = elem.ownerDocument.createNode(1, "frequency", elem.namespaceURI)
    WriteFrequencyEntry entry, f, bw, pw, comp
    elem.appendChild entry
    CountFrequencies elem
    AddFrequency = RESULT_OK
End Function

Function FrequencyInUse(node, index)
    Dim list, i, channel
    Set list = ChannelList(node)
    FrequencyInUse = False
    For i = 0 To ValidChannelCount(node) - 1
        Set channel = list.item(i)
        If NumAttr(channel, "rx_freq_ndx") = index Or NumAttr(channel, "tx_freq_ndx") = index Then
            FrequencyInUse = True
            Exit Function
        End If
    Next
End Function

Function CanDeleteFrequency(elem, index)
    Dim n
    CanDeleteFrequency = False
    If Not ToWhole(index, n) Then Exit Function
    If n >= elem.selectNodes("dfns:frequency").length Then Exit Function
    CanDeleteFrequency = Not FrequencyInUse(elem, n)
End Function

Function DeleteFrequency(elem, index, ByRef out1, confirmed, ByRef out2)
    Dim list, i, channel, n, v, table
    n = CDbl(index)
    If FrequencyInUse(elem, n) Then
        DeleteFrequency = Refuse(MSG_FREQ_IN_USE, out1, out2)
        Exit Function
    End If
    Set list = ChannelList(elem)
    Set table = elem.parentNode
    table.removeChild elem
    CountFrequencies table
    ' Channels store table positions, so every later position moves down.
    For i = 0 To list.length - 1
        Set channel = list.item(i)
        v = NumAttr(channel, "rx_freq_ndx")
        If v > n Then channel.setAttribute "rx_freq_ndx", CStr(v - 1)
        v = NumAttr(channel, "tx_freq_ndx")
        If v > n Then channel.setAttribute "tx_freq_ndx", CStr(v - 1)
    Next
    DeleteFrequency = RESULT_OK
End Function

' A forced code (0 or 1) decides the channel's choice; a selectable one (2, 3)
' leaves the user's choice as it was.
Sub AlignChannelChoice(channel, name, code)
    If code = 0 Or code = 1 Then channel.setAttribute name, CStr(code)
End Sub

Function SetFrequencyAttributes(elem, index, freq, bandwidth, power, compander, ByRef out1, ByRef out2, confirmed)
    Dim list, n, msg, f, bw, pw, comp, entry, channels, i, channel, changed
    Set list = elem.selectNodes("dfns:frequency")
    If Not ToWhole(index, n) Then
        SetFrequencyAttributes = Refuse(MSG_INVALID, out1, out2)
        Exit Function
    End If
    If n >= list.length Then
        SetFrequencyAttributes = Refuse(MSG_INVALID, out1, out2)
        Exit Function
    End If
    msg = CheckFrequencyEntry(elem, freq, bandwidth, power, compander, n, MSG_FREQ_EXISTS_EDIT, f, bw, pw, comp)
    If msg <> 0 Then
        SetFrequencyAttributes = Refuse(msg, out1, out2)
        Exit Function
    End If
    Set entry = list.item(n)
    changed = (NumAttr(entry, "freq") <> f Or NumAttr(entry, "bandwidth") <> bw Or _
               NumAttr(entry, "power_level") <> pw Or NumAttr(entry, "compander_lle_mode") <> comp)
    If changed And confirmed = 0 Then
        If FrequencyInUse(elem, n) Then
            SetFrequencyAttributes = AskConfirm(MSG_FREQ_CHANNELS_CHANGE, out1, out2)
            Exit Function
        End If
    End If
    WriteFrequencyEntry entry, f, bw, pw, comp
    Set channels = ChannelList(elem)
    For i = 0 To channels.length - 1
        Set channel = channels.item(i)
        If NumAttr(channel, "rx_freq_ndx") = n Then
            AlignChannelChoice channel, "rx_bw", bw
            AlignChannelChoice channel, "talkaround_power", pw
        End If
        If NumAttr(channel, "tx_freq_ndx") = n Then
            AlignChannelChoice channel, "tx_bw", bw
            AlignChannelChoice channel, "repeater_power", pw
        End If
    Next
    SetFrequencyAttributes = RESULT_OK
End Function
