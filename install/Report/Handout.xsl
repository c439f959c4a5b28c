<?xml version="1.0" encoding="UTF-8"?>
<!--
  Customer handout: one printed page for the radio's user. The radio with its numbered parts,
  what each programmable button does, the channels, and the dealer's address block.

  What the program relies on:
  - every word is a token, a dollar and hash sign followed by an English label of the handout's
    token table, which the program puts into the user's language after the transform;
  - the paragraph with the dealer marker is replaced by the dealer's table (classes "std" and
    "ItemVal", styled here);
  - pictures are named without a folder: the handout is written beside them, and the report
    window mails them with it (the display set uses callouts 1 to 10, the other set 1 to 11);
  - elements are addressed without a namespace.
  The page must stay one sheet, Letter or A4, with margins of about a quarter inch, for the
  largest template: sizes below are chosen for that.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no"
            doctype-public="-//W3C//DTD HTML 4.01//EN" doctype-system="http://www.w3.org/TR/html4/strict.dtd"/>

<xsl:variable name="factory" select="/VeskProfile/factory_setting"/>
<xsl:variable name="limit" select="/VeskProfile/limit"/>
<xsl:variable name="setting" select="/VeskProfile/setting"/>
<xsl:variable name="model" select="string($factory/@model)"/>
<xsl:variable name="display" select="translate(substring($model, 3, 1), 'd', 'D') = 'D'"/>
<xsl:variable name="has_disable" select="string($limit/@disable_channel_enable) = '1'"/>
<!-- The channels the radio has and the user can select. -->
<xsl:variable name="channels"
              select="/VeskProfile/channels/channel[position() &lt;= number($setting/@numberChannels)][not($has_disable) or string(@disable_channel) != '1']"/>

<xsl:template match="/">
<html>
<head>
<title>$#Customer Handout</title>
<style type="text/css">
@page { margin: 0.17in 0.24in; }
* { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font-family: Arial, Helvetica, sans-serif; font-size: 9pt; color: #1b2733; background-color: #ffffff; margin: 0; }
table { border-collapse: collapse; }
td, th { font-size: 9pt; }
img { border: 0; }
img.band { width: 100%; height: auto; }
td.kicker { font-size: 9pt; font-weight: bold; color: #2f7fd3; letter-spacing: 1px; }
td.title { font-size: 22pt; font-weight: bold; color: #1f3b57; }
td.family { font-size: 11pt; color: #4d6177; }
td.idl { font-size: 9pt; color: #4d6177; text-align: right; }
td.idv { font-size: 10pt; font-weight: bold; color: #1b2733; }
td.part { font-size: 10.5pt; color: #1b2733; border-bottom: 1px solid #dfe6ee; }
td.num { border-bottom: 1px solid #dfe6ee; }
td.keys { font-size: 9pt; color: #4d6177; }
td.keyname { font-size: 9pt; font-weight: bold; color: #33475b; }
td.rule { background-color: #33475b; font-size: 2pt; height: 3px; padding: 0; }
td.heading { color: #33475b; font-size: 10pt; font-weight: bold; padding: 0 0 2px 0; }
td.btn { font-size: 10pt; color: #33475b; border-bottom: 1px solid #dfe6ee; }
td.fn { font-size: 10pt; font-weight: bold; color: #1b2733; border-bottom: 1px solid #dfe6ee; }
td.chn { font-size: 10pt; color: #2f7fd3; font-weight: bold; text-align: right; border-bottom: 1px solid #dfe6ee; }
td.chname { font-size: 10pt; font-weight: bold; border-bottom: 1px solid #dfe6ee; }
span.note { font-weight: normal; color: #4d6177; white-space: nowrap; }
table.std { width: 100%; border-top: 2px solid #e8b13a; margin-top: 6px; }
td.ItemVal { font-size: 9.5pt; color: #1b2733; padding: 4px; }
</style>
</head>
<body>
<!-- One column as wide as the printable width of an A4 sheet, so that screen and paper agree. -->
<table width="748" border="0" cellpadding="0" cellspacing="0" align="center">
<tr><td>
<img class="band" src="HandoutHeader.jpg" width="748" height="75" alt=""/>

<table width="100%" border="0" cellpadding="2" cellspacing="0">
<tr>
<td width="55%" valign="bottom">
  <table border="0" cellpadding="0" cellspacing="0">
  <tr><td class="kicker">$#JVB</td></tr>
  <tr><td class="title">$#Customer Handout</td></tr>
  <tr><td class="family">$#ZN420 $#Wolk</td></tr>
  </table>
</td>
<td width="45%" valign="bottom">
  <table width="100%" border="0" cellpadding="1" cellspacing="0">
  <tr><td class="idl" width="45%">$#Model</td><td class="idv">$#QMV $#GQ730</td></tr>
  <tr><td class="idl">$#Model Number</td><td class="idv"><xsl:value-of select="$model"/></td></tr>
  <tr><td class="idl">$#Serial Number</td><td class="idv"><xsl:value-of select="$factory/@serial"/></td></tr>
  </table>
</td>
</tr>
</table>

<table width="100%" border="0" cellpadding="0" cellspacing="0">
<tr>
<td width="48%" valign="top" align="center">
  <xsl:choose>
    <xsl:when test="$display"><img src="Display.jpg" width="360" height="385" alt=""/></xsl:when>
    <xsl:otherwise><img src="Rotary.jpg" width="360" height="385" alt=""/></xsl:otherwise>
  </xsl:choose>
</td>
<td width="2%"></td>
<td width="50%" valign="top">
  <xsl:choose>
    <xsl:when test="$display"><xsl:call-template name="display_parts"/></xsl:when>
    <xsl:otherwise><xsl:call-template name="rotary_parts"/></xsl:otherwise>
  </xsl:choose>
</td>
</tr>
</table>

<table width="100%" border="0" cellpadding="3" cellspacing="0">
<tr>
<td width="49%" valign="top"><xsl:call-template name="buttons"/></td>
<td width="2%"></td>
<td width="49%" valign="top"><xsl:call-template name="channel_list"/></td>
</tr>
</table>

<p>ABCDEFGSDGFHWRAZxVBSDFSEWASSX</p>

<img class="band" src="HandoutFooter.jpg" width="748" height="18" alt=""/>
</td></tr>
</table>
</body>
</html>
</xsl:template>

<!-- ==================== The radio's parts ==================== -->

<xsl:template name="display_parts">
<table width="100%" border="0" cellpadding="3" cellspacing="0">
<xsl:call-template name="part"><xsl:with-param name="number" select="1"/><xsl:with-param name="name">$#Power/Volume Knob</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="2"/><xsl:with-param name="name">$#Tri-Color LED</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="3"/><xsl:with-param name="name">$#Accessory Jack</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="4"/><xsl:with-param name="name">$#Push-to-Talk (PTT)</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="5"/><xsl:with-param name="name">$#Side Button 1 (SB1)</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="6"/><xsl:with-param name="name">$#Side Button 2 (SB2)</xsl:with-param></xsl:call-template>
<tr>
<td class="num" width="26" valign="top"><img src="7.jpg" width="20" height="20" alt="7"/></td>
<td class="part">
  <table width="100%" border="0" cellpadding="1" cellspacing="0">
  <tr><td class="keyname" width="34%" valign="top">$#Menu Button:</td><td class="keys">$#Menu Mode</td></tr>
  <tr><td class="keyname" valign="top">$#Up Button:</td><td class="keys">$#Scroll up the menu items/change channel</td></tr>
  <tr><td class="keyname" valign="top">$#Down Button:</td><td class="keys">$#Scroll down the menu items/change channel</td></tr>
  <tr><td class="keyname" colspan="2">$#Prog 1 (URB), $#Prog 2 (LLB), $#Prog 3 (LRB)</td></tr>
  </table>
</td>
</tr>
<xsl:call-template name="part"><xsl:with-param name="number" select="8"/><xsl:with-param name="name">$#Microphone</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="9"/><xsl:with-param name="name">$#Spring Action Belt Clip</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="10"/><xsl:with-param name="name">$#Li-Ion Battery Pack</xsl:with-param></xsl:call-template>
</table>
</xsl:template>

<xsl:template name="rotary_parts">
<table width="100%" border="0" cellpadding="3" cellspacing="0">
<xsl:call-template name="part"><xsl:with-param name="number" select="1"/><xsl:with-param name="name">$#Power/Volume Knob</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="2"/><xsl:with-param name="name">$#Channel Selector</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="3"/><xsl:with-param name="name">$#Tri-Color LED</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="4"/><xsl:with-param name="name">$#Accessory Jack</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="5"/><xsl:with-param name="name">$#Push-to-Talk (PTT)</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="6"/><xsl:with-param name="name">$#Side Button 1 (SB1)</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="7"/><xsl:with-param name="name">$#Side Button 2 (SB2)</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="8"/><xsl:with-param name="name">$#Prog 1 (URB), $#Prog 2 (LLB), $#Prog 3 (LRB)</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="9"/><xsl:with-param name="name">$#Microphone</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="10"/><xsl:with-param name="name">$#Spring Action Belt Clip</xsl:with-param></xsl:call-template>
<xsl:call-template name="part"><xsl:with-param name="number" select="11"/><xsl:with-param name="name">$#Li-Ion Battery Pack</xsl:with-param></xsl:call-template>
</table>
</xsl:template>

<xsl:template name="part">
<xsl:param name="number"/>
<xsl:param name="name"/>
<tr>
<td class="num" width="26"><img src="{$number}.jpg" width="20" height="20" alt="{$number}"/></td>
<td class="part"><xsl:value-of select="$name"/></td>
</tr>
</xsl:template>

<!-- ==================== Buttons ==================== -->

<xsl:template name="buttons">
<table width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="heading" colspan="2">$#Buttons</td></tr>
<tr><td class="rule" colspan="2"></td></tr>
<xsl:call-template name="button">
  <xsl:with-param name="name">$#Side Button 1 (SB1)</xsl:with-param>
  <xsl:with-param name="value" select="$setting/@side1_but"/>
  <xsl:with-param name="default" select="7"/>
</xsl:call-template>
<xsl:call-template name="button">
  <xsl:with-param name="name">$#Side Button 2 (SB2)</xsl:with-param>
  <xsl:with-param name="value" select="$setting/@side2_but"/>
  <xsl:with-param name="default" select="4"/>
</xsl:call-template>
<xsl:call-template name="button">
  <xsl:with-param name="name">$#Prog 1 (URB)</xsl:with-param>
  <xsl:with-param name="value" select="$setting/@upper_right_but"/>
  <xsl:with-param name="default" select="3"/>
</xsl:call-template>
<xsl:call-template name="button">
  <xsl:with-param name="name">$#Prog 2 (LLB)</xsl:with-param>
  <xsl:with-param name="value" select="$setting/@lower_left_but"/>
  <xsl:with-param name="default" select="9"/>
</xsl:call-template>
<xsl:call-template name="button">
  <xsl:with-param name="name">$#Prog 3 (LRB)</xsl:with-param>
  <xsl:with-param name="value" select="$setting/@lower_right_but"/>
  <xsl:with-param name="default" select="10"/>
</xsl:call-template>
</table>
</xsl:template>

<!-- A button's feature, marked as the default when the button carries what Button Reset gives
     it. A preset names its channel. -->
<xsl:template name="button">
<xsl:param name="name"/>
<xsl:param name="value"/>
<xsl:param name="default"/>
<xsl:variable name="is_default" select="number($value) = $default"/>
<tr>
<td class="btn" width="45%"><xsl:value-of select="$name"/></td>
<td class="fn">
<xsl:choose>
  <xsl:when test="$value = 1">$#Backlight</xsl:when>
  <xsl:when test="$value = 2 and $is_default">$#Tx Power Selection (default)</xsl:when>
  <xsl:when test="$value = 2">$#Tx Power Selection</xsl:when>
  <xsl:when test="$value = 3 and $is_default">$#Call Tone (default)</xsl:when>
  <xsl:when test="$value = 3">$#Call Tone</xsl:when>
  <xsl:when test="$value = 4 and $is_default">$#Scan/Nuisance Channel Delete (default)</xsl:when>
  <xsl:when test="$value = 4">$#Scan/Nuisance Channel Delete</xsl:when>
  <xsl:when test="$value = 5">$#Repeater/Talkaround</xsl:when>
  <xsl:when test="$value = 7 and $is_default">$#Monitor (default)</xsl:when>
  <xsl:when test="$value = 7">$#Monitor</xsl:when>
  <xsl:when test="$value = 9 and $is_default">$#Preset 1 (default)</xsl:when>
  <xsl:when test="$value = 9">$#Preset 1</xsl:when>
  <xsl:when test="$value = 10 and $is_default">$#Preset 2 (default)</xsl:when>
  <xsl:when test="$value = 10">$#Preset 2</xsl:when>
  <xsl:when test="$value = 12">$#Scramble</xsl:when>
  <!-- A number no button list offers does nothing on the radio. -->
  <xsl:otherwise>$#No Operation</xsl:otherwise>
</xsl:choose>
<xsl:if test="$value = 9 or $value = 10">
  <xsl:variable name="preset" select="$setting/preset[position() = number($value) - 8]"/>
  <xsl:variable name="channel"
                select="/VeskProfile/channels/channel[position() &lt;= number($setting/@numberChannels)][position() = number($preset/@channel) + 1]"/>
  <xsl:if test="$channel and not($has_disable and string($channel/@disable_channel) = '1')">
    <span class="note"><xsl:text> &#8211; </xsl:text><xsl:value-of select="number($preset/@channel) + 1"/><xsl:text> </xsl:text><xsl:value-of select="$channel/@name"/></span>
  </xsl:if>
</xsl:if>
</td>
</tr>
</xsl:template>

<!-- ==================== Channels ==================== -->

<!-- The channels by their number on the channel selector, two to a row. -->
<xsl:template name="channel_list">
<table width="100%" border="0" cellpadding="3" cellspacing="0">
<tr><td class="heading" colspan="5">$#Channels</td></tr>
<tr><td class="rule" colspan="5"></td></tr>
<xsl:for-each select="$channels[position() mod 2 = 1]">
  <xsl:variable name="second" select="following-sibling::channel[count(. | $channels) = count($channels)][1]"/>
  <tr>
  <td class="chn" width="10%"><xsl:value-of select="count(preceding-sibling::channel) + 1"/></td>
  <td class="chname" width="38%"><xsl:value-of select="@name"/></td>
  <td width="4%"></td>
  <xsl:choose>
    <xsl:when test="$second">
      <td class="chn" width="10%"><xsl:value-of select="count($second/preceding-sibling::channel) + 1"/></td>
      <td class="chname" width="38%"><xsl:value-of select="$second/@name"/></td>
    </xsl:when>
    <xsl:otherwise><td width="10%"></td><td width="38%"></td></xsl:otherwise>
  </xsl:choose>
  </tr>
</xsl:for-each>
</table>
</xsl:template>

</xsl:stylesheet>
