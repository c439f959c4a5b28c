<?xml version="1.0" encoding="UTF-8"?>
<!--
  Detailed report of a profile: every setting, grouped as the editor's pages group them, and only
  the rows a page shows for this model.

  What the program relies on:
  - every word of the report is a token, a dollar and hash sign followed by an English label of
    the detailed report's token table; the program puts in the user's language after the
    transform, so no other English may reach the output;
  - the decimal separator placeholder in the decimal format below and in the number patterns is
    replaced by the user's separator before the transform, so every number with a fraction goes
    through format-number with a pattern that begins with a hash and the separator, and nothing
    else in this file may hold that pair of characters;
  - the four frequency range variables are rewritten line by line, so each stays on one line as
    it is;
  - the row marker below becomes an open table row after the transform;
  - channel squelch codes above 0 arrive as their display texts;
  - elements are addressed without a namespace.
  No pictures: the detailed report is mailed as one file.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"
            doctype-public="-//W3C//DTD HTML 4.01//EN" doctype-system="http://www.w3.org/TR/html4/strict.dtd"/>
<xsl:decimal-format decimal-separator="$#SPLITTER" grouping-separator="_"/>

<xsl:variable name="rx_freq_start" select="/VeskProfile/limit/@rx_start_freq"/>
<xsl:variable name="rx_freq_end" select="/VeskProfile/limit/@rx_end_freq"/>
<xsl:variable name="tx_freq_start" select="/VeskProfile/limit/@tx_start_freq"/>
<xsl:variable name="tx_freq_end" select="/VeskProfile/limit/@tx_end_freq"/>

<xsl:variable name="row_marker">ABCDEFGTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRFCKUOPQWBFDSA</xsl:variable>

<xsl:variable name="factory" select="/VeskProfile/factory_setting"/>
<xsl:variable name="limit" select="/VeskProfile/limit"/>
<xsl:variable name="setting" select="/VeskProfile/setting"/>
<xsl:variable name="frequencies" select="/VeskProfile/frequencies/frequency"/>
<xsl:variable name="model" select="string($factory/@model)"/>
<xsl:variable name="region" select="substring($model, string-length($model) - 1)"/>
<xsl:variable name="display" select="translate(substring($model, 3, 1), 'd', 'D') = 'D'"/>
<xsl:variable name="repeater_model" select="$region = '70' or $region = '73'"/>
<!-- Only the channels the setting counts are the radio's. -->
<xsl:variable name="channels"
              select="/VeskProfile/channels/channel[position() &lt;= number($setting/@numberChannels)]"/>
<xsl:variable name="has_repeater" select="string($limit/@disable_repeater_feature) != '1'"/>
<xsl:variable name="has_power" select="string($limit/@power_cntrl_enabled) = '1'"/>
<xsl:variable name="has_scramble" select="string($limit/@disable_scramble_feature) != '1'"/>
<xsl:variable name="has_scan" select="string($limit/@disable_scan_mode) != '1'"/>
<xsl:variable name="has_talkaround_scan"
              select="$has_repeater and string($limit/@talkaround_scan_enable) = '1'"/>
<xsl:variable name="has_disable" select="string($limit/@disable_channel_enable) = '1'"/>
<xsl:variable name="buttons"
              select="$setting/@side1_but | $setting/@side2_but | $setting/@upper_right_but | $setting/@lower_left_but | $setting/@lower_right_but"/>

<xsl:template match="/">
<html>
<head>
<title>$#Detailed Report</title>
<style type="text/css">
@page { margin: 0.17in 0.24in; }
* { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font-family: Arial, Helvetica, sans-serif; font-size: 8.5pt; color: #1b2733; background-color: #ffffff; margin: 0; }
h1 { font-size: 15pt; font-weight: bold; color: #1f3b57; margin: 0; }
p.sub { font-size: 10pt; color: #4d6177; margin: 2px 0 6px 0; }
table { border-collapse: collapse; }
td, th { font-size: 8.5pt; }
table.frame { margin: 0; }
table.sec { border-collapse: collapse; margin: 0 0 10px 0; }
table.sec td { border-bottom: 1px solid #d3dbe3; }
td.title { background-color: #33475b; color: #ffffff; font-weight: bold; font-size: 10pt; }
th { background-color: #dfe6ee; color: #1f3b57; font-weight: bold; text-align: left; vertical-align: bottom; }
th.group { text-align: center; }
td.l { color: #33475b; }
td.n { text-align: right; }
td.v { font-weight: bold; }
tr.off td { color: #8a97a5; }
table.ch td { font-size: 7.5pt; }
table.ch th { font-size: 7pt; }
table.newpage { page-break-before: always; }
tr, div.keep { page-break-inside: avoid; }
thead { display: table-header-group; }
</style>
</head>
<body>
<h1>$#Detailed Report</h1>
<p class="sub"><xsl:value-of select="$model"/></p>

<table class="frame" width="100%" border="0" cellpadding="0" cellspacing="0">
<tr>
<td width="49%" valign="top">
<xsl:call-template name="radio_information"/>
<xsl:call-template name="audio_settings"/>
<xsl:call-template name="buttons"/>
</td>
<td width="2%"></td>
<td width="49%" valign="top">
<xsl:call-template name="general_settings"/>
<xsl:call-template name="customized_codes"/>
</td>
</tr>
</table>

<xsl:call-template name="frequency_table"/>
<xsl:call-template name="channel_table"/>
<xsl:call-template name="scan_list"/>
</body>
</html>
</xsl:template>

<!-- ==================== Sections ==================== -->

<xsl:template name="radio_information">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#Radio Information</td></tr>
<xsl:call-template name="row">
  <xsl:with-param name="width" select="'45%'"/>
  <xsl:with-param name="label">$#Regional Code</xsl:with-param>
  <xsl:with-param name="value" select="$region"/>
</xsl:call-template>
<xsl:call-template name="row">
  <xsl:with-param name="width" select="'45%'"/>
  <xsl:with-param name="label">$#Serial Number</xsl:with-param>
  <xsl:with-param name="value" select="string($factory/@serial)"/>
</xsl:call-template>
<xsl:call-template name="row">
  <xsl:with-param name="width" select="'45%'"/>
  <xsl:with-param name="label">$#Firmware Version</xsl:with-param>
  <xsl:with-param name="value"
                  select="concat($factory/@firmware_phase, format-number($factory/@firmware_version, '00'), '.', format-number($factory/@firmware_revision, '00'))"/>
</xsl:call-template>
<xsl:call-template name="row">
  <xsl:with-param name="width" select="'45%'"/>
  <xsl:with-param name="label">$#Codeplug Version</xsl:with-param>
  <xsl:with-param name="value"
                  select="concat($factory/@codeplug_phase, format-number($factory/@codeplug_version, '00'), '.', format-number($factory/@codeplug_dev_version, '00'))"/>
</xsl:call-template>
<tr><td class="l" width="45%">$#Frequency Range (MHz)</td><td class="v">
<xsl:call-template name="range">
  <xsl:with-param name="start" select="$limit/@start_freq"/>
  <xsl:with-param name="end" select="$limit/@end_freq"/>
</xsl:call-template>
</td></tr>
<!-- A display model's receiver and transmitter have ranges of their own. A profile that holds
     them shows them as the Radio Information page does; the others show the range the variables
     name. -->
<xsl:if test="$display">
<tr><td class="l" width="45%">$#Rx Frequency Range (MHz)</td><td class="v">
<xsl:call-template name="own_range">
  <xsl:with-param name="own_start" select="$limit/@rx_start_freq"/>
  <xsl:with-param name="own_end" select="$limit/@rx_end_freq"/>
  <xsl:with-param name="start" select="$rx_freq_start"/>
  <xsl:with-param name="end" select="$rx_freq_end"/>
</xsl:call-template>
</td></tr>
<tr><td class="l" width="45%">$#Tx Frequency Range (MHz)</td><td class="v">
<xsl:call-template name="own_range">
  <xsl:with-param name="own_start" select="$limit/@tx_start_freq"/>
  <xsl:with-param name="own_end" select="$limit/@tx_end_freq"/>
  <xsl:with-param name="start" select="$tx_freq_start"/>
  <xsl:with-param name="end" select="$tx_freq_end"/>
</xsl:call-template>
</td></tr>
</xsl:if>
<xsl:call-template name="row">
  <xsl:with-param name="width" select="'45%'"/>
  <xsl:with-param name="label">$#Maximum Channel</xsl:with-param>
  <xsl:with-param name="value" select="string($limit/@maxChannels)"/>
</xsl:call-template>
</table>
</xsl:template>

<xsl:template name="general_settings">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#General Settings</td></tr>
<xsl:if test="$display and $setting/@powerupString">
  <xsl:call-template name="row">
    <xsl:with-param name="label">$#Power Up Text</xsl:with-param>
    <xsl:with-param name="value" select="string($setting/@powerupString)"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="$repeater_model and $setting/@stationID">
  <xsl:call-template name="row">
    <xsl:with-param name="label">$#Repeater Station ID</xsl:with-param>
    <xsl:with-param name="value" select="string($setting/@stationID)"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="$repeater_model and $setting/@rep_id_mode">
  <tr><td class="l" width="58%">$#Repeater ID Mode</td><td class="v">
  <xsl:choose>
    <xsl:when test="$setting/@rep_id_mode = 0">$#Disable</xsl:when>
    <xsl:when test="$setting/@rep_id_mode = 1">$#15 min</xsl:when>
    <xsl:when test="$setting/@rep_id_mode = 2">$#30 min</xsl:when>
    <xsl:when test="$setting/@rep_id_mode = 3">$#After conversation</xsl:when>
  </xsl:choose>
  </td></tr>
</xsl:if>
<xsl:if test="string($limit/@disable_busy_led_mode) != '1'">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Disable All LEDs</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@disableLED"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="string($limit/@factory_reset_disable) != '1'">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Disable Restore Factory Default</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@disableRestoreFactoryDefault"/>
  </xsl:call-template>
</xsl:if>
<xsl:call-template name="flag_row">
  <xsl:with-param name="label">$#Enable Programming Mode</xsl:with-param>
  <xsl:with-param name="flag" select="$limit/@programming_mode_enabled"/>
</xsl:call-template>
<xsl:if test="not($repeater_model) and string($limit/@disable_battery_save_feature) != '1'">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Disable Battery Save</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@disableBatterySave"/>
  </xsl:call-template>
</xsl:if>
<tr><td class="l" width="58%">$#Back Light (Sec.)</td><td class="v">
<xsl:variable name="backlight_item" select="floor(number($setting/@backlight_timeout) div 5)"/>
<xsl:choose>
  <xsl:when test="string($setting/@backlight_enabled) != '1'">$#OFF</xsl:when>
  <xsl:when test="$backlight_item = 0">$#OFF</xsl:when>
  <xsl:when test="$backlight_item = 1">5</xsl:when>
  <xsl:when test="$backlight_item = 2">10</xsl:when>
</xsl:choose>
</td></tr>
<xsl:if test="$repeater_model and $setting/@rep_hangtime">
  <xsl:call-template name="row">
    <xsl:with-param name="label">$#Tx Hangtime (Sec.)</xsl:with-param>
    <xsl:with-param name="value" select="string($setting/@rep_hangtime)"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="$repeater_model and $setting/@low_battery_tx">
  <xsl:call-template name="row">
    <xsl:with-param name="label">$#Tx Low Battery (Min.)</xsl:with-param>
    <xsl:with-param name="value" select="string($setting/@low_battery_tx)"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="$repeater_model and $setting/@onbatt_alert">
  <tr><td class="l" width="58%">$#On Battery Alert Tone</td><td class="v">
  <xsl:choose>
    <xsl:when test="$setting/@onbatt_alert = 0">$#Disable</xsl:when>
    <xsl:when test="$setting/@onbatt_alert = 1">$#15 min</xsl:when>
    <xsl:when test="$setting/@onbatt_alert = 2">$#30 min</xsl:when>
    <xsl:when test="$setting/@onbatt_alert = 3">$#45 min</xsl:when>
    <xsl:when test="$setting/@onbatt_alert = 4">$#60 min</xsl:when>
  </xsl:choose>
  </td></tr>
</xsl:if>
<xsl:if test="$repeater_model and $setting/@courtesy_over">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Enable Courtesy Over Beep</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@courtesy_over"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="string($limit/@disable_time_out_timer) != '1'">
  <tr><td class="l" width="58%">$#Transmit Timeout Timer (Sec.)</td><td class="v">
  <xsl:if test="$setting/@timeoutTimer = 60 or $setting/@timeoutTimer = 120 or $setting/@timeoutTimer = 180">
    <xsl:value-of select="number($setting/@timeoutTimer)"/>
  </xsl:if>
  </td></tr>
</xsl:if>
<xsl:if test="string($limit/@enable_reverse_burst) = '1'">
  <tr><td class="l" width="58%">$#KT Reverse Burst</td><td class="v">
  <xsl:choose>
    <xsl:when test="string($setting/@reverseBurst) = '1'">240</xsl:when>
    <xsl:otherwise>180</xsl:otherwise>
  </xsl:choose>
  </td></tr>
</xsl:if>
<xsl:if test="not($repeater_model)">
  <tr><td class="l" width="58%">$#Alternate Battery Selection</td><td class="v">
  <xsl:choose>
    <xsl:when test="string($setting/@batteryType) = '1'">$#Nickel/LiIon</xsl:when>
    <xsl:otherwise>$#Alkaline</xsl:otherwise>
  </xsl:choose>
  </td></tr>
</xsl:if>
</table>
</xsl:template>

<xsl:template name="audio_settings">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#Audio Settings</td></tr>
<tr><td class="l" width="58%">$#Microphone Gain</td><td class="v">
  <xsl:call-template name="level"><xsl:with-param name="value" select="$setting/@microphoneGain"/></xsl:call-template>
</td></tr>
<tr><td class="l" width="58%">$#Accessory Microphone Gain</td><td class="v">
  <xsl:call-template name="level"><xsl:with-param name="value" select="$setting/@accessoryMicrophoneGain"/></xsl:call-template>
</td></tr>
<xsl:if test="not($repeater_model) and string($limit/@disable_vox_feature) != '1'">
  <tr><td class="l" width="58%">$#VOX Level</td><td class="v">
    <xsl:call-template name="level">
      <xsl:with-param name="value" select="$setting/@vox_level"/>
      <xsl:with-param name="with_off" select="true()"/>
    </xsl:call-template>
  </td></tr>
</xsl:if>
<xsl:if test="not($repeater_model) and string($limit/@disable_ivox_feature) != '1'">
  <tr><td class="l" width="58%">$#iVOX Level</td><td class="v">
    <xsl:call-template name="level"><xsl:with-param name="value" select="$setting/@ivol_level"/></xsl:call-template>
  </td></tr>
</xsl:if>
<xsl:if test="string($limit/@voice_chip_enable) = '1'">
  <!-- The voice chip speaks English for a number it does not know, and so does the page. The
       token table names no other language, so the other two are written in their own. -->
  <tr><td class="l" width="58%">$#Voice Language</td><td class="v">
  <xsl:choose>
    <xsl:when test="$setting/@voice_language = 1">$#French</xsl:when>
    <xsl:when test="$setting/@voice_language = 2">$#Spanish</xsl:when>
    <xsl:when test="$setting/@voice_language = 7">$#OFF</xsl:when>
    <xsl:otherwise>$#English</xsl:otherwise>
  </xsl:choose>
  </td></tr>
</xsl:if>
<xsl:if test="string($limit/@disable_roger_beep_feature) != '1'">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Roger Beep Tone</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@rogerBeepTone"/>
  </xsl:call-template>
</xsl:if>
<xsl:if test="string($limit/@disable_keypad_beep_feature) != '1'">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Keypad Beep</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@keypadBeep"/>
  </xsl:call-template>
</xsl:if>
</table>
</xsl:template>

<xsl:template name="buttons">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#Buttons</td></tr>
<xsl:if test="string($limit/@disable_keypad_lock_feature) != '1'">
  <xsl:call-template name="flag_row">
    <xsl:with-param name="label">$#Keypad Lock</xsl:with-param>
    <xsl:with-param name="flag" select="$setting/@keypadLock"/>
  </xsl:call-template>
</xsl:if>
<tr><td class="l" width="58%">$#Side Button 1</td><td class="v">
  <xsl:call-template name="button_function"><xsl:with-param name="value" select="$setting/@side1_but"/></xsl:call-template>
</td></tr>
<tr><td class="l" width="58%">$#Side Button 2</td><td class="v">
  <xsl:call-template name="button_function"><xsl:with-param name="value" select="$setting/@side2_but"/></xsl:call-template>
</td></tr>
<tr><td class="l" width="58%">$#Prog 1 (URB)</td><td class="v">
  <xsl:call-template name="button_function"><xsl:with-param name="value" select="$setting/@upper_right_but"/></xsl:call-template>
</td></tr>
<tr><td class="l" width="58%">$#Prog 2 (LLB)</td><td class="v">
  <xsl:call-template name="button_function"><xsl:with-param name="value" select="$setting/@lower_left_but"/></xsl:call-template>
</td></tr>
<tr><td class="l" width="58%">$#Prog 3 (LRB)</td><td class="v">
  <xsl:call-template name="button_function"><xsl:with-param name="value" select="$setting/@lower_right_but"/></xsl:call-template>
</td></tr>
<!-- The page shows a feature's own setting only while a button carries that feature. -->
<xsl:if test="$buttons[. = 12]">
  <tr><td class="l" width="58%">$#Scramble Button</td><td class="v">
  <xsl:choose>
    <xsl:when test="string($setting/@disableSelectableScramble) = '1'">$#ON/OFF</xsl:when>
    <xsl:otherwise>$#Selectable</xsl:otherwise>
  </xsl:choose>
  </td></tr>
</xsl:if>
<xsl:if test="$buttons[. = 3]">
  <tr><td class="l" width="58%">$#Call Tone</td><td class="v">
  <xsl:choose>
    <xsl:when test="$setting/@callTone = 0">$#OFF</xsl:when>
    <xsl:when test="$setting/@callTone &lt;= $limit/@max_call_tones">$#Call Tone <xsl:value-of select="number($setting/@callTone)"/></xsl:when>
  </xsl:choose>
  </td></tr>
</xsl:if>
<xsl:if test="$buttons[. = 9]">
  <tr><td class="l" width="58%">$#Preset 1 Channel</td><td class="v">
    <xsl:call-template name="preset_channel"><xsl:with-param name="preset" select="$setting/preset[1]"/></xsl:call-template>
  </td></tr>
</xsl:if>
<xsl:if test="$buttons[. = 10]">
  <tr><td class="l" width="58%">$#Preset 2 Channel</td><td class="v">
    <xsl:call-template name="preset_channel"><xsl:with-param name="preset" select="$setting/preset[2]"/></xsl:call-template>
  </td></tr>
</xsl:if>
</table>
</xsl:template>

<xsl:template name="customized_codes">
<xsl:if test="number($limit/@maxCodes) &gt; 122 and $setting/@KTcode124">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#Customized KT</td></tr>
<xsl:call-template name="tone_row"><xsl:with-param name="label">$#KT Code 124 (Hz)</xsl:with-param><xsl:with-param name="tenths" select="$setting/@KTcode124"/></xsl:call-template>
<xsl:call-template name="tone_row"><xsl:with-param name="label">$#KT Code 125 (Hz)</xsl:with-param><xsl:with-param name="tenths" select="$setting/@KTcode125"/></xsl:call-template>
<xsl:call-template name="tone_row"><xsl:with-param name="label">$#KT Code 126 (Hz)</xsl:with-param><xsl:with-param name="tenths" select="$setting/@KTcode126"/></xsl:call-template>
<xsl:call-template name="tone_row"><xsl:with-param name="label">$#KT Code 127 (Hz)</xsl:with-param><xsl:with-param name="tenths" select="$setting/@KTcode127"/></xsl:call-template>
<xsl:call-template name="tone_row"><xsl:with-param name="label">$#KT Code 128 (Hz)</xsl:with-param><xsl:with-param name="tenths" select="$setting/@KTcode128"/></xsl:call-template>
<xsl:call-template name="tone_row"><xsl:with-param name="label">$#KT Code 129 (Hz)</xsl:with-param><xsl:with-param name="tenths" select="$setting/@KTcode129"/></xsl:call-template>
</table>
</xsl:if>
<xsl:if test="number($limit/@maxCodes) &gt; 213 and $setting/@KTcode214">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#Customized VRC</td></tr>
<xsl:call-template name="digital_row"><xsl:with-param name="label">$#KT Code 214</xsl:with-param><xsl:with-param name="code" select="$setting/@KTcode214"/></xsl:call-template>
<xsl:call-template name="digital_row"><xsl:with-param name="label">$#KT Code 215</xsl:with-param><xsl:with-param name="code" select="$setting/@KTcode215"/></xsl:call-template>
<xsl:call-template name="digital_row"><xsl:with-param name="label">$#KT Code 216</xsl:with-param><xsl:with-param name="code" select="$setting/@KTcode216"/></xsl:call-template>
<xsl:call-template name="digital_row"><xsl:with-param name="label">$#KT Code 217</xsl:with-param><xsl:with-param name="code" select="$setting/@KTcode217"/></xsl:call-template>
<xsl:call-template name="digital_row"><xsl:with-param name="label">$#KT Code 218</xsl:with-param><xsl:with-param name="code" select="$setting/@KTcode218"/></xsl:call-template>
<xsl:call-template name="digital_row"><xsl:with-param name="label">$#KT Code 219</xsl:with-param><xsl:with-param name="code" select="$setting/@KTcode219"/></xsl:call-template>
</table>
</xsl:if>
</xsl:template>

<!-- A customized tone in tenths of a hertz; a row whose attribute is missing is left out. -->
<xsl:template name="tone_row">
<xsl:param name="label"/>
<xsl:param name="tenths"/>
<xsl:if test="$tenths">
<tr><td class="l" width="58%"><xsl:value-of select="$label"/></td>
<td class="v n">
<!-- A pattern without a leading zero prints none. -->
<xsl:if test="number($tenths) &lt; 10">0</xsl:if>
<xsl:value-of select="format-number(number($tenths) div 10, '#.0')"/>
</td></tr>
</xsl:if>
</xsl:template>

<xsl:template name="digital_row">
<xsl:param name="label"/>
<xsl:param name="code"/>
<xsl:if test="$code">
<tr><td class="l" width="58%"><xsl:value-of select="$label"/></td>
<td class="v n"><xsl:call-template name="octal"><xsl:with-param name="value" select="number($code)"/></xsl:call-template></td></tr>
</xsl:if>
</xsl:template>

<xsl:template name="frequency_table">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<thead>
<tr><td class="title" colspan="5">$#Frequency</td></tr>
<tr><th width="8%">$#Index</th><th width="16%">$#Frequency <span>($#MHz)</span></th><th>$#Bandwidth</th><th>$#Power Level</th><th width="12%">$#Compander</th></tr>
</thead>
<tbody>
<xsl:for-each select="$frequencies">
<tr>
<td class="n"><xsl:value-of select="position()"/></td>
<td class="n"><xsl:call-template name="mhz"><xsl:with-param name="hertz" select="@freq"/></xsl:call-template></td>
<td>
  <xsl:choose>
    <xsl:when test="@bandwidth = 0">$#12.5 KHz only</xsl:when>
    <xsl:when test="@bandwidth = 1">$#25 KHz only</xsl:when>
    <xsl:when test="@bandwidth = 2">$#User selectable with 12.5 KHz as default</xsl:when>
    <xsl:when test="@bandwidth = 3">$#User selectable with 25 KHz as default</xsl:when>
    <xsl:otherwise>-</xsl:otherwise>
  </xsl:choose>
</td>
<td>
  <xsl:choose>
    <xsl:when test="@power_level = 0">$#Low power only</xsl:when>
    <xsl:when test="@power_level = 1">$#High Power only</xsl:when>
    <xsl:when test="@power_level = 2">$#User selectable with low power as default</xsl:when>
    <xsl:when test="@power_level = 3">$#User Selectable with high power as default</xsl:when>
    <xsl:otherwise>-</xsl:otherwise>
  </xsl:choose>
</td>
<td>
  <xsl:choose>
    <xsl:when test="@compander_lle_mode = 2">$#ON</xsl:when>
    <xsl:when test="@compander_lle_mode = 3">$#OFF</xsl:when>
    <xsl:otherwise>-</xsl:otherwise>
  </xsl:choose>
</td>
</tr>
</xsl:for-each>
<xsl:if test="not($frequencies)">
<tr><td colspan="5">$#None</td></tr>
</xsl:if>
</tbody>
</table>
</xsl:template>

<!-- One row per channel; a model with repeater operation gives each channel a receive row and a
     transmit row, so that the table keeps to the width of a page. -->
<xsl:template name="channel_table">
<xsl:variable name="columns"
              select="5 + number($has_power) + 2 * number($has_repeater) + number($has_scramble) + number($has_talkaround_scan) + number($has_scan) + number($has_disable)"/>
<!-- A long list starts on a page of its own: a page break inside a channel would part its
     receive row from its transmit row. -->
<table class="sec ch" width="100%" border="0" cellpadding="2" cellspacing="0">
<xsl:if test="count($channels) &gt; 8"><xsl:attribute name="class">sec ch newpage</xsl:attribute></xsl:if>
<thead>
<tr><td class="title" colspan="{$columns}">$#Channels</td></tr>
<xsl:choose>
<xsl:when test="$has_repeater">
<tr>
<th width="5%">$#Channel #</th>
<th width="7%">$#Name</th>
<th width="7%"></th>
<th width="12%">$#Frequency(Index)</th>
<th width="7%">$#Bandwidth</th>
<xsl:if test="$has_power"><th width="10%">$#Talkaround Power<br/>$#Repeater Power</th></xsl:if>
<th width="12%">$#KT/VRC Code</th>
<xsl:if test="$has_scramble"><th width="7%">$#Scramble</th></xsl:if>
<th width="8%">$#Repeater</th>
<xsl:if test="$has_talkaround_scan"><th width="9%">$#Talkaround Scan</th></xsl:if>
<xsl:if test="$has_scan"><th width="8%">$#Auto Scan</th></xsl:if>
<xsl:if test="$has_disable"><th width="8%">$#Disable Channel</th></xsl:if>
</tr>
</xsl:when>
<xsl:otherwise>
<!-- As on the channel page of such a model: one column for both directions. -->
<tr>
<th width="6%" rowspan="2">$#Channel #</th>
<th width="10%" rowspan="2">$#Name</th>
<th class="group" colspan="{3 + number($has_power)}">$#Receive/Transmit</th>
<xsl:if test="$has_scramble"><th width="11%" rowspan="2">$#Scramble</th></xsl:if>
<xsl:if test="$has_scan"><th width="9%" rowspan="2">$#Auto Scan</th></xsl:if>
<xsl:if test="$has_disable"><th width="10%" rowspan="2">$#Disable Channel</th></xsl:if>
</tr>
<tr>
<th width="16%">$#Frequency(Index)</th>
<th width="9%">$#Bandwidth</th>
<xsl:if test="$has_power"><th width="10%">$#Transmit Power</th></xsl:if>
<th width="19%">$#KT/VRC Code</th>
</tr>
</xsl:otherwise>
</xsl:choose>
</thead>
<xsl:for-each select="$channels">
<xsl:variable name="disabled" select="$has_disable and string(@disable_channel) = '1'"/>
<xsl:variable name="span" select="1 + number($has_repeater)"/>
<!-- In talkaround the radio transmits with the receive settings: the page greys the transmit
     side, and so does the report. -->
<xsl:variable name="tx_class">
  <xsl:choose>
    <xsl:when test="$disabled or string(@repeater) != '1'">off</xsl:when>
    <xsl:otherwise>on</xsl:otherwise>
  </xsl:choose>
</xsl:variable>
<tbody>
<tr>
<xsl:if test="$disabled"><xsl:attribute name="class">off</xsl:attribute></xsl:if>
<td class="n" rowspan="{$span}"><xsl:value-of select="position()"/></td>
<td class="v" rowspan="{$span}"><xsl:value-of select="translate(@name, ' ', '&#160;')"/></td>
<xsl:if test="$has_repeater"><td class="l">$#Receive</td></xsl:if>
<td class="n"><xsl:call-template name="channel_frequency"><xsl:with-param name="index" select="@rx_freq_ndx"/></xsl:call-template></td>
<td><xsl:call-template name="bandwidth"><xsl:with-param name="flag" select="@rx_bw"/></xsl:call-template></td>
<xsl:if test="$has_power">
  <td><xsl:call-template name="power"><xsl:with-param name="flag" select="@talkaround_power"/></xsl:call-template></td>
</xsl:if>
<td><xsl:call-template name="code"><xsl:with-param name="value" select="@rx_code"/></xsl:call-template></td>
<xsl:if test="$has_scramble">
  <td rowspan="{$span}">
  <xsl:choose>
    <xsl:when test="@scramble_code = 1">$#Scramble code 1</xsl:when>
    <xsl:when test="@scramble_code = 2">$#Scramble code 2</xsl:when>
    <xsl:when test="@scramble_code = 3">$#Scramble code 3</xsl:when>
    <xsl:otherwise>$#OFF</xsl:otherwise>
  </xsl:choose>
  </td>
</xsl:if>
<xsl:if test="$has_repeater"><td rowspan="{$span}"><xsl:call-template name="on_off"><xsl:with-param name="flag" select="@repeater"/></xsl:call-template></td></xsl:if>
<xsl:if test="$has_talkaround_scan"><td rowspan="{$span}"><xsl:call-template name="on_off"><xsl:with-param name="flag" select="@talkaround_scan"/></xsl:call-template></td></xsl:if>
<xsl:if test="$has_scan"><td rowspan="{$span}"><xsl:call-template name="on_off"><xsl:with-param name="flag" select="@autoScan"/></xsl:call-template></td></xsl:if>
<xsl:if test="$has_disable"><td rowspan="{$span}"><xsl:call-template name="on_off"><xsl:with-param name="flag" select="@disable_channel"/></xsl:call-template></td></xsl:if>
</tr>
<xsl:if test="$has_repeater">
<tr class="{$tx_class}">
<td class="l">$#Transmit</td>
<td class="n"><xsl:call-template name="channel_frequency"><xsl:with-param name="index" select="@tx_freq_ndx"/></xsl:call-template></td>
<td><xsl:call-template name="bandwidth"><xsl:with-param name="flag" select="@tx_bw"/></xsl:call-template></td>
<xsl:if test="$has_power">
  <td><xsl:call-template name="power"><xsl:with-param name="flag" select="@repeater_power"/></xsl:call-template></td>
</xsl:if>
<td><xsl:call-template name="code"><xsl:with-param name="value" select="@tx_code"/></xsl:call-template></td>
</tr>
</xsl:if>
</tbody>
</xsl:for-each>
</table>
</xsl:template>

<!-- The scan list as the Scan List page shows it: enabled channels only, members and the others.
     Four channels to a row; the marker opens the next row. -->
<xsl:template name="scan_list">
<xsl:if test="$has_scan">
<div class="keep">
<table class="sec" width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="title" colspan="2">$#Scan List</td></tr>
<tr>
<th width="50%">$#Scan List Member</th>
<th width="50%">$#Available Channels</th>
</tr>
<tr>
<td valign="top">
  <xsl:call-template name="channel_grid">
    <xsl:with-param name="members" select="$channels[string(@disable_channel) != '1'][string(@in_scanlist) = '1']"/>
  </xsl:call-template>
</td>
<td valign="top">
  <xsl:call-template name="channel_grid">
    <xsl:with-param name="members" select="$channels[string(@disable_channel) != '1'][string(@in_scanlist) != '1']"/>
  </xsl:call-template>
</td>
</tr>
</table>
</div>
</xsl:if>
</xsl:template>

<xsl:template name="channel_grid">
<xsl:param name="members"/>
<xsl:choose>
  <xsl:when test="$members">
    <table width="100%" border="0" cellpadding="2" cellspacing="0">
    <tr>
    <xsl:for-each select="$members">
      <xsl:if test="position() &gt; 1 and (position() - 1) mod 4 = 0"><xsl:value-of select="$row_marker"/></xsl:if>
      <td width="25%"><xsl:value-of select="count(preceding-sibling::channel) + 1"/><xsl:text> </xsl:text><b><xsl:value-of select="translate(@name, ' ', '&#160;')"/></b></td>
    </xsl:for-each>
    </tr>
    </table>
  </xsl:when>
  <xsl:otherwise>$#None</xsl:otherwise>
</xsl:choose>
</xsl:template>

<!-- ==================== Values ==================== -->

<xsl:template name="row">
<xsl:param name="label"/>
<xsl:param name="value"/>
<xsl:param name="width" select="'58%'"/>
<tr><td class="l" width="{$width}"><xsl:value-of select="$label"/></td><td class="v"><xsl:value-of select="$value"/></td></tr>
</xsl:template>

<xsl:template name="flag_row">
<xsl:param name="label"/>
<xsl:param name="flag"/>
<tr><td class="l" width="58%"><xsl:value-of select="$label"/></td><td class="v">
<xsl:call-template name="on_off"><xsl:with-param name="flag" select="$flag"/></xsl:call-template>
</td></tr>
</xsl:template>

<xsl:template name="on_off">
<xsl:param name="flag"/>
<xsl:choose>
  <xsl:when test="string($flag) = '1'">$#ON</xsl:when>
  <xsl:otherwise>$#OFF</xsl:otherwise>
</xsl:choose>
</xsl:template>

<xsl:template name="level">
<xsl:param name="value"/>
<xsl:param name="with_off" select="false()"/>
<xsl:choose>
  <xsl:when test="$value = 0">$#Low</xsl:when>
  <xsl:when test="$value = 1">$#Medium</xsl:when>
  <xsl:when test="$value = 2">$#High</xsl:when>
  <xsl:when test="$value = 3 and $with_off">$#OFF</xsl:when>
</xsl:choose>
</xsl:template>

<xsl:template name="button_function">
<xsl:param name="value"/>
<xsl:choose>
  <xsl:when test="$value = 1">$#Backlight</xsl:when>
  <xsl:when test="$value = 2">$#Tx Power Selection</xsl:when>
  <xsl:when test="$value = 3">$#Call Tone</xsl:when>
  <xsl:when test="$value = 4">$#Scan/Nuisance Channel Delete</xsl:when>
  <xsl:when test="$value = 5">$#Repeater/Talkaround</xsl:when>
  <xsl:when test="$value = 7">$#Monitor</xsl:when>
  <xsl:when test="$value = 9">$#Preset 1</xsl:when>
  <xsl:when test="$value = 10">$#Preset 2</xsl:when>
  <xsl:when test="$value = 12">$#Scramble</xsl:when>
  <!-- A number no button list offers is taken as none by the page. -->
  <xsl:otherwise>$#No Operation</xsl:otherwise>
</xsl:choose>
</xsl:template>

<!-- A preset may only stand on an enabled channel the radio has; anything else shows nothing, as
     the page's list does. -->
<xsl:template name="preset_channel">
<xsl:param name="preset"/>
<xsl:variable name="channel" select="$channels[position() = number($preset/@channel) + 1]"/>
<xsl:choose>
  <xsl:when test="$channel and string($channel/@disable_channel) != '1'">
    <xsl:value-of select="$channel/@name"/>
  </xsl:when>
  <xsl:otherwise>$#None</xsl:otherwise>
</xsl:choose>
</xsl:template>

<!-- A channel's frequency as the channel page lists it: the entry's megahertz and its number in
     the table, or out of range when the entry is missing or outside the radio's band. -->
<xsl:template name="channel_frequency">
<xsl:param name="index"/>
<xsl:variable name="entry" select="$frequencies[position() = number($index) + 1]"/>
<xsl:choose>
  <xsl:when test="$entry and number($entry/@freq) &gt;= number($limit/@start_freq) and number($entry/@freq) &lt;= number($limit/@end_freq)">
    <xsl:call-template name="mhz"><xsl:with-param name="hertz" select="$entry/@freq"/></xsl:call-template>
    <xsl:text>&#160;(</xsl:text><xsl:value-of select="number($index) + 1"/><xsl:text>)</xsl:text>
  </xsl:when>
  <xsl:otherwise>$#Out of range</xsl:otherwise>
</xsl:choose>
</xsl:template>

<xsl:template name="bandwidth">
<xsl:param name="flag"/>
<xsl:choose>
  <xsl:when test="string($flag) = '1'">$#25KHz</xsl:when>
  <xsl:otherwise>$#12.5KHz</xsl:otherwise>
</xsl:choose>
</xsl:template>

<xsl:template name="power">
<xsl:param name="flag"/>
<xsl:choose>
  <xsl:when test="string($flag) = '1'">$#High</xsl:when>
  <xsl:otherwise>$#Low</xsl:otherwise>
</xsl:choose>
</xsl:template>

<!-- Codes above 0 arrive as their display texts. -->
<xsl:template name="code">
<xsl:param name="value"/>
<xsl:choose>
  <xsl:when test="string($value) = '0' or string($value) = ''">$#No KT/VRC code</xsl:when>
  <xsl:otherwise><xsl:value-of select="$value"/></xsl:otherwise>
</xsl:choose>
</xsl:template>

<xsl:template name="mhz">
<xsl:param name="hertz"/>
<xsl:value-of select="format-number(number($hertz) div 1000000, '#.000000')"/>
</xsl:template>

<xsl:template name="range">
<xsl:param name="start"/>
<xsl:param name="end"/>
<xsl:call-template name="mhz"><xsl:with-param name="hertz" select="$start"/></xsl:call-template>
<xsl:text> - </xsl:text>
<xsl:call-template name="mhz"><xsl:with-param name="hertz" select="$end"/></xsl:call-template>
</xsl:template>

<xsl:template name="own_range">
<xsl:param name="own_start"/>
<xsl:param name="own_end"/>
<xsl:param name="start"/>
<xsl:param name="end"/>
<xsl:choose>
  <xsl:when test="$own_start and $own_end">
    <xsl:call-template name="range">
      <xsl:with-param name="start" select="$own_start"/>
      <xsl:with-param name="end" select="$own_end"/>
    </xsl:call-template>
  </xsl:when>
  <xsl:when test="string($start) != '' and string($end) != ''">
    <xsl:call-template name="range">
      <xsl:with-param name="start" select="$start"/>
      <xsl:with-param name="end" select="$end"/>
    </xsl:call-template>
  </xsl:when>
  <xsl:otherwise>
    <xsl:call-template name="range">
      <xsl:with-param name="start" select="$limit/@start_freq"/>
      <xsl:with-param name="end" select="$limit/@end_freq"/>
    </xsl:call-template>
  </xsl:otherwise>
</xsl:choose>
</xsl:template>

<!-- Three octal digits at least, as the Customized VRC page writes a code. -->
<xsl:template name="octal">
<xsl:param name="value"/>
<xsl:param name="digits" select="''"/>
<xsl:variable name="next" select="concat($value mod 8, $digits)"/>
<xsl:choose>
  <xsl:when test="floor($value div 8) &gt; 0">
    <xsl:call-template name="octal">
      <xsl:with-param name="value" select="floor($value div 8)"/>
      <xsl:with-param name="digits" select="$next"/>
    </xsl:call-template>
  </xsl:when>
  <xsl:otherwise>
    <xsl:value-of select="substring('00', 1, 3 - string-length($next))"/>
    <xsl:value-of select="$next"/>
  </xsl:otherwise>
</xsl:choose>
</xsl:template>

</xsl:stylesheet>
