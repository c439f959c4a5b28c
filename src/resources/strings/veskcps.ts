<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="128">
        <source>Vesk CPS</source>
        <extracomment>Main window title. Product name, normally left unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="129">
        <source>
Profile
VeskCPSProfile
Vesk Kel CPS Files (*.vk4)
.vk4
VeskKelCPS.Profile
VeskKelCPS.Profile</source>
        <extracomment>Document type description, one field per line: window title (empty), document name, name for new documents, file filter text, file extension, type id, type name. Keep the line breaks, the extension and the last two lines unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="130">
        <source>Fatal registry Error, the application will be closed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="131">
        <source>Unknown Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="132">
        <source>Programming error: 107.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="133">
        <source>Programming error: 108.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="134">
        <source>Fatal error: 102.
Please uninstall and re-install CPS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="135">
        <source>Invalid profile.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="136">
        <source>Failed to load profile.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="137">
        <source>Fatal error: 101.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="140">
        <source>&amp;OK</source>
        <extracomment>Dialog button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="141">
        <source>&amp;Cancel</source>
        <extracomment>Dialog button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="142">
        <source>Error: Set control color.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="143">
        <source>Error: Set background color.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="144">
        <source>Error: Set view size.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="145">
        <source>Error: Convert coordinate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="146">
        <source>Error: Can not find help file information in registry!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="147">
        <source>Error: Help File format is invalid!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="148">
        <source>Error: Can not find the help file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="149">
        <source>OLE initialization failed. Make sure that the OLE libraries are the correct version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="167">
        <source>General Settings</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="168">
        <source>Buttons</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="169">
        <source>Channels</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="171">
        <source>Scan List</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="172">
        <source>Audio Settings</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="180">
        <source>Recent &amp;Files</source>
        <extracomment>File menu: list of recently opened profiles.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="184">
        <source>Scan List</source>
        <extracomment>Page title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="185">
        <source>&amp;Add&gt;&gt;</source>
        <extracomment>Button that moves channels into the scan list.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="186">
        <source>&lt;&lt;Re&amp;move</source>
        <extracomment>Button that moves channels out of the scan list.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="187">
        <source>Available Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="188">
        <source>Scan List Members</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="189">
        <source>12.5</source>
        <extracomment>Bandwidth in kHz. Keep the point: it is replaced by the decimal separator of the language.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="190">
        <source>25</source>
        <extracomment>Bandwidth in kHz.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="191">
        <source>Low</source>
        <extracomment>Power level.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="192">
        <source>High</source>
        <extracomment>Power level.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="193">
        <source>OFF</source>
        <extracomment>Scramble switched off.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="194">
        <source>Scramble Code 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="195">
        <source>Scramble Code 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="196">
        <source>Scramble Code 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="197">
        <source>Channels</source>
        <extracomment>Column heading of the scan list boxes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="207">
        <source>Call Tone</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="212">
        <source>Please enter 4 numeric characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="213">
        <source>Do you want to reset all buttons with their defaults?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="221">
        <source>Call Tone</source>
        <extracomment>Followed by a blank and the call tone number.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="222">
        <source>Channel name can only contain: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, {, }, ?, &amp;, %, ., +, /, \, -, &apos;</source>
        <extracomment>The character list is what the radio can display; keep it exactly.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="223">
        <source>Profile Loading Error.&#xd;
File: %s&#xd;
Desc: %s&#xd;
Line: %d, Pos: %d&#xd;
SRC: %s</source>
        <extracomment>Placeholders in order: file, error description, line, position in the line, text of that line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="228">
        <source>The passwords you entered do not match.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="229">
        <source>Channels</source>
        <extracomment>Page title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="230">
        <source>Add Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="232">
        <source>Receive</source>
        <extracomment>Section heading; also combined as Receive/Transmit.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="233">
        <source>Frequency (MHz)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="234">
        <source>Bandwidth (KHz)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="235">
        <source>KT/VRC Code</source>
        <extracomment>KT: analog squelch tone; VRC: digital squelch code.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="236">
        <source>Transmit</source>
        <extracomment>Section heading; also combined as Receive/Transmit.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="237">
        <source>Scramble</source>
        <extracomment>Field label and button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="238">
        <source>Repeater</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="239">
        <source>Auto Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="241">
        <source>Repeater Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="242">
        <source>RF Frequency</source>
        <extracomment>Page title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="243">
        <source>Frequency (MHz)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="244">
        <source>Bandwidth</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="245">
        <source>Power Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="246">
        <source>Add</source>
        <extracomment>Button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="247">
        <source>Edit</source>
        <extracomment>Button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="248">
        <source>Delete</source>
        <extracomment>Button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="249">
        <source>New</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="250">
        <source>Open</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="251">
        <source>Save</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="252">
        <source>Add</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="253">
        <source>Delete</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="254">
        <source>Cut</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="255">
        <source>Copy</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="256">
        <source>Paste</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="257">
        <source>Read</source>
        <extracomment>Toolbar button: read the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="258">
        <source>Write</source>
        <extracomment>Toolbar button: write the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="259">
        <source>Report</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="260">
        <source>About</source>
        <extracomment>Toolbar button.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="261">
        <source>Invalid Value.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="263">
        <source>Error: Load dealer information failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="264">
        <source>Error: There is an error when acquiring language type.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="265">
        <source>Dealer Information</source>
        <extracomment>Dialog title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="266">
        <source>Dealer Information</source>
        <extracomment>Heading above a text field.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="267">
        <source>Contact Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="268">
        <source>Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="269">
        <source>Invalid frequency: This frequency is not supported by this radio.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="271">
        <source>Do you want to create a new profile (Yes), overwrite the currently selected profile (No) or cancel it?</source>
        <extracomment>Asked with Yes, No and Cancel buttons.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="272">
        <source>New Profile</source>
        <extracomment>Dialog title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="273">
        <source>Please choose profile model.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="274">
        <source>%s Customer Programming Software</source>
        <extracomment>%s is the radio family name (ZN420).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="275">
        <source>Version %s</source>
        <extracomment>%s is the product version.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="279">
        <source>The password is not correct. Please check it!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="280">
        <source>Power up text can only contain: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, {, }, ?, &amp;, %, ., +, /, \, -, &apos;</source>
        <extracomment>The character list is what the radio can display; keep it exactly.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="281">
        <source>One feature can not be assigned to multiple buttons.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="282">
        <source>The channel can not be selected!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="283">
        <source>RF Frequency</source>
        <extracomment>Navigation tree node.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="284">
        <source>Invalid Frequency.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="285">
        <source>Invalid Bandwidth selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="286">
        <source>Invalid Power level selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="287">
        <source>The frequency you are adding already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="288">
        <source>Frequency (Frequencies) used by channel can not be deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="289">
        <source>User selectable with %s KHz as default</source>
        <extracomment>%s is 12.5.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="290">
        <source>User selectable with %s KHz as default</source>
        <extracomment>%s is 25.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="291">
        <source>Save</source>
        <extracomment>Button while adding or editing a frequency.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="292">
        <source>Cancel</source>
        <extracomment>Button while adding or editing a frequency.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="293">
        <source>Index</source>
        <extracomment>Column heading.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="294">
        <source>User selectable with low power as default</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="295">
        <source>User selectable with high power as default</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="296">
        <source>Error: Can not find template files!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="297">
        <source>About</source>
        <extracomment>Dialog title, followed by a blank and the application name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="298">
        <source>A similar name already exists in Channels personalities. Please specify a different name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="299">
        <source>Write</source>
        <extracomment>Progress dialog title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="300">
        <source>Writing to the radio ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="301">
        <source>Reading from the radio ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="302">
        <source>Read</source>
        <extracomment>Progress dialog title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="303">
        <source>Transferring...</source>
        <extracomment>Status bar.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="304">
        <source>Read Failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="305">
        <source>Write Failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="309">
        <source>Error: Communication Error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="310">
        <source>The CPS does not support this profile&apos;s region.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="315">
        <source>Some files needed by CPS are not available.
Please reinstall CPS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="319">
        <source>When converting from high-tier radio to low-tier radio, some data may be lost. Do you want to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="321">
        <source>&amp;Language</source>
        <extracomment>Edit menu: submenu of user interface languages.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="325">
        <source>The language resource file is missing. The CPS will start with English language version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="327">
        <source>Invalid Value.</source>
        <extracomment>Shown when the password is refused.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="329">
        <source>Error: Operation Failed (%d).</source>
        <extracomment>%d is the error code.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="330">
        <source>You have to restart the CPS for this change to take effect.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="331">
        <source>Files</source>
        <extracomment>File dialog filter: the application name, a blank and this word.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="332">
        <source>Read Successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="333">
        <source>Write Successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="334">
        <source>USB Cable Connected</source>
        <extracomment>Status bar.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="335">
        <source>Unknown warning!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="336">
        <source>USB Cable Not Connected</source>
        <extracomment>Status bar.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="337">
        <source>All Files</source>
        <extracomment>File dialog filter.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="338">
        <source>The last valid channel can not be deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="342">
        <source>Codeplug version of CPS and profile are incompatible! Please update your CPS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="343">
        <source>&amp;File</source>
        <extracomment>Menu title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="344">
        <source>&amp;Edit</source>
        <extracomment>Menu title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="345">
        <source>&amp;View</source>
        <extracomment>Menu title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="346">
        <source>&amp;Device</source>
        <extracomment>Menu title: radio commands.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="347">
        <source>&amp;Report</source>
        <extracomment>Menu title; the entry itself opens the report.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="348">
        <source>&amp;Window</source>
        <extracomment>Menu title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="349">
        <source>&amp;Help</source>
        <extracomment>Menu title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="350">
        <source>&amp;New	Ctrl+N</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="351">
        <source>&amp;Open...	Ctrl+O</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="352">
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="353">
        <source>&amp;Save	Ctrl+S</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="354">
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="355">
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="356">
        <source>&amp;Add	Ctrl+A</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="357">
        <source>Cu&amp;t	Ctrl+X</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="358">
        <source>&amp;Copy	Ctrl+C</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="359">
        <source>&amp;Paste	Ctrl+V</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="360">
        <source>&amp;Delete	Del</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="361">
        <source>&amp;Rename	F2</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="362">
        <source>Dealer &amp;Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="363">
        <source>&amp;Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="364">
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="365">
        <source>&amp;Read	Ctrl+R</source>
        <extracomment>Read the radio. The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="366">
        <source>&amp;Write	Ctrl+W</source>
        <extracomment>Write the radio. The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="367">
        <source>R&amp;eset	Ctrl+E</source>
        <extracomment>Reset the radio. The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="368">
        <source>&amp;About</source>
        <extracomment>Help menu; followed by a blank, the application name and &quot;...&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="369">
        <source>&amp;Content and Index...	F1</source>
        <extracomment>The part after the tab is the shortcut; keep it unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="370">
        <source>&amp;Cascade</source>
        <extracomment>Window menu.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="371">
        <source>&amp;Tile</source>
        <extracomment>Window menu.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="372">
        <source>COM initial failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="373">
        <source>Failed to open registry!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="374">
        <source>Failed to write registry!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="375">
        <source>The dealer information in the registry is too long to fit the dialog, please check it!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="376">
        <source>Invalid serial number</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="378">
        <source>Do you want to delete the selected item(s)?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="381">
        <source>CPS needs vbscript engine to start. Please install vbscript engine before re-starting the %s.</source>
        <extracomment>%s is the application name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="385">
        <source>The frequency already exists!</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="386">
        <source>%s KHz only</source>
        <extracomment>%s is 12.5.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="387">
        <source>%s KHz only</source>
        <extracomment>%s is 25.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="388">
        <source>Low power only</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="389">
        <source>High power only</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="390">
        <source>Radio&apos;s memory is corrupted. Please perform factory reset to correct the error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="391">
        <source>Codeplug is corrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="393">
        <source>The MAPI is not installed, you need to install it to send an e-mail.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="394">
        <source>Some personalities in Channels which use this frequency have been modified, do you want to continue with the changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="396">
        <source>The current profile is not compatible with the radio.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="397">
        <source>There are %d USB connections. Please remove the unused one and keep one connection only.</source>
        <extracomment>%d is the number of programming cables found.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="398">
        <source>Talkaround Power</source>
        <extracomment>Talkaround: direct radio-to-radio operation without a repeater.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="399">
        <source>&amp;Help Pane</source>
        <extracomment>View menu.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="400">
        <source>In talkaround mode, Transmit will use Receive settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="401">
        <source>This channel is assigned to a Preset Channel button. Deleting this channel shall cause the value change of the Preset Channel button. Do you want to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="402">
        <source>Codeplug version of CPS and radio are incompatible! Please update your CPS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="403">
        <source>The CPS does not support this radio&apos;s region.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="409">
        <source>Warning</source>
        <extracomment>Shown before a radio warning, as &quot;Warning: text&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="410">
        <source>Radio&apos;s memory is corrupted. Please return to manufacture for correction.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="416">
        <source>Monitor</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="417">
        <source>Scan/Nuisance Channel Delete</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="419">
        <source>Tx Power Selection</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="420">
        <source>Failed to generate report.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="421">
        <source>Repeater/Talkaround</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="422">
        <source>No Operation</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="423">
        <source>Backlight</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="424">
        <source>Preset 1</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="425">
        <source>Preset 2</source>
        <extracomment>Button feature name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="429">
        <source>Name</source>
        <extracomment>Channel name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="435">
        <source>No KT/VRC code</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="440">
        <source>The radio being programmed does not match the model in the current profile.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="447">
        <source>Transmit Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="462">
        <source>The CPS does not support this radio model.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="465">
        <source>ON</source>
        <extracomment>Compander setting.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="466">
        <source>OFF</source>
        <extracomment>Compander setting.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="470">
        <source>Customized KT</source>
        <extracomment>Navigation tree node and page title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="471">
        <source>Customized KT</source>
        <extracomment>Squelch code list entry.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="478">
        <source>The KT Code you input is invalid. The valid range is: 67.0 - 255.0 Hz.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="479">
        <source>VRC</source>
        <extracomment>Digital squelch code abbreviation.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="480">
        <source>Inverted VRC</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="482">
        <source>Hz</source>
        <extracomment>Unit.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="483">
        <source>Some profile information is not supported by the host radio and therefore will not be transferred(KT/VRC Code). </source>
        <translation type="unfinished"></translation>
    </message>
    <message id="491">
        <source>Repeater station id can only contain letter and digits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="492">
        <source>The tx hangtime is invalid. Its range is 0 - 50.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="503">
        <source>Please use the &quot;%s&quot;.</source>
        <extracomment>%s is the name of the program for the profile&apos;s region.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="504">
        <source>Please use the &quot;%s&quot;.</source>
        <extracomment>%s is the name of the program for the radio&apos;s region.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="506">
        <source>The tx low battery is invalid. Its range is 0 - 255.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="510">
        <source>Out of range</source>
        <extracomment>Frequency list entry.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="511">
        <source>At least one channel frequency is out of the valid frequency range. Please correct it before programming. If there is no valid frequency to select, please edit the frequency table first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="514">
        <source>The transmit frequency index can not be same as the receive frequency index. The next available transmit frequency shall be selected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="515">
        <source>High-power is only available in non-PMR446 markets</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="524">
        <source>Customized VRC</source>
        <extracomment>Navigation tree node and page title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="525">
        <source>Customized VRC</source>
        <extracomment>Squelch code list entry.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="526">
        <source>The VRC Code you entered is invalid. The valid range is(OCT): 001 - 777.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="528">
        <source>Disable Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="529">
        <source>Dynamic Talkaround Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="530">
        <source>The radio you are programing has a lower version codeplug, some new features can not be used after writing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="533">
        <source>File format error. Failed to save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="534">
        <source>This channel is assigned to a Preset Channel button. Disable this channel shall cause the value change of the Preset Channel button. Do you want to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="536">
        <source>25 KHz channel spacing is disabled to comply with the USA narrowband mandate. All frequencies and channels of this profile have been set to 12.5 KHz.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="537">
        <source>Compander</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="538">
        <source>The frequency count of this profile did not match its frequency table. It has been corrected to %d, the number of entries in the table.</source>
        <extracomment>Shown when a profile is opened whose recorded number of frequencies differs from its frequency table. %d is the number of entries in the table.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="600">
        <source>Verification failed: the radio&apos;s memory at %s differs from what was written. Please write again.</source>
        <extracomment>%s is the first differing memory address, in hexadecimal (0x1001F).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="601">
        <source>The radio&apos;s current contents could not be saved before writing: %s
Nothing has been written to the radio.</source>
        <extracomment>%s is the reason, as the system or the conversion gives it.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="610">
        <source>Save changes to %s?</source>
        <extracomment>Asked when a changed profile is closed. %s is the file name of the profile, or its title when it has never been saved.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="611">
        <source>Untitled</source>
        <extracomment>The name of a profile that has neither a file nor a title.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="612">
        <source>The radio&apos;s previous contents were saved to:
%s</source>
        <extracomment>Shown in the progress dialog after a write. %s is the full path of the backup profile file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="613">
        <source>The radio was read back: it holds exactly what was written.</source>
        <extracomment>Shown in the progress dialog after a write whose read-back check passed.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="620">
        <source>Please enter the password:</source>
        <extracomment>Label above the password field of the password dialog.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="621">
        <source>Copyright © 2026 Corvane. All rights reserved.</source>
        <extracomment>About box, first legal notice line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="622">
        <source>Program only radios that you are authorised to service.</source>
        <extracomment>About box, second legal notice line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="623">
        <source>Operate every radio within its licence and the local regulations.</source>
        <extracomment>About box, third legal notice line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="630">
        <source>&amp;Undo %s</source>
        <extracomment>Edit menu: undoes the last change of the profile. %s says what it changed (for example &quot;Rename channel 3&quot;).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="631">
        <source>&amp;Redo %s</source>
        <extracomment>Edit menu: makes an undone change again. %s says what it changed.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="632">
        <source>&amp;Undo</source>
        <extracomment>Edit menu, when there is no change to undo.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="633">
        <source>&amp;Redo</source>
        <extracomment>Edit menu, when there is no undone change to make again.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="634">
        <source>Change %s</source>
        <extracomment>Names an undo step that changed a value. %s is the entry and the setting, for example &quot;channel 3: rx_code&quot;; never the value.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="635">
        <source>Add %s</source>
        <extracomment>Names an undo step that added an entry. %s is the entry, for example &quot;channel 15&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="636">
        <source>Delete %s</source>
        <extracomment>Names an undo step that deleted an entry. %s is the entry, for example &quot;frequency 4&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="637">
        <source>Rename %s</source>
        <extracomment>Names an undo step that renamed an entry. %s is the entry, for example &quot;channel 3&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="638">
        <source>Edit %s</source>
        <extracomment>Names an undo step that changed an entry of the frequency table. %s is the entry, for example &quot;frequency 4&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="639">
        <source>Changes</source>
        <extracomment>Names an undo step made of several changes that no page described.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="700">
        <source>Radio Information</source>
        <extracomment>Title of the radio information page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="701">
        <source>Regional Code</source>
        <extracomment>Label on the radio information page: the last two digits of the model code.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="702">
        <source>Serial Number</source>
        <extracomment>Label on the radio information page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="703">
        <source>Firmware Version</source>
        <extracomment>Label on the radio information page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="704">
        <source>Codeplug Version</source>
        <extracomment>Label on the radio information page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="705">
        <source>Frequency Range (MHz)</source>
        <extracomment>Label on the radio information page: the band the radio is aligned for.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="706">
        <source>Rx Frequency Range (MHz)</source>
        <extracomment>Label on the radio information page: the receive range.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="707">
        <source>Tx Frequency Range (MHz)</source>
        <extracomment>Label on the radio information page: the transmit range.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="708">
        <source>Maximum Channel</source>
        <extracomment>Label on the radio information page: how many channels the model offers.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="710">
        <source>Line %d: %s</source>
        <extracomment>Where a problem of an imported spreadsheet file is: the line number, then the problem.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="711">
        <source>The file is not UTF-8 text.</source>
        <extracomment>Import of a spreadsheet (CSV) file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="712">
        <source>Expected %d columns, found %d.</source>
        <extracomment>Import of a spreadsheet (CSV) file: a row of the wrong width.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="713">
        <source>The first line must be the header row: %s</source>
        <extracomment>Import of a spreadsheet (CSV) file; %s is the header row, which stays in English.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="714">
        <source>No frequency %s MHz in the RF frequency table.</source>
        <extracomment>Import of channels: %s is a frequency such as 462.562500.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="715">
        <source>Nothing was imported.</source>
        <extracomment>After the list of problems of a spreadsheet import.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="716">
        <source>%s: '%s' is not a valid value.</source>
        <extracomment>Import of a spreadsheet (CSV) file: the column, then the value found in it.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="717">
        <source>%s is already on line %d.</source>
        <extracomment>Import of a spreadsheet (CSV) file: a frequency or channel name given twice.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="718">
        <source>Between %d and %d rows are allowed, found %d.</source>
        <extracomment>Import of a spreadsheet (CSV) file: how many rows the radio model takes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="719">
        <source>Import from a spreadsheet</source>
        <extracomment>The step in the Edit menu's Undo and Redo that a spreadsheet import made.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="720">
        <source>&amp;Import Frequencies...</source>
        <extracomment>File menu: replaces the RF frequency table with the rows of a spreadsheet file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="721">
        <source>Import C&amp;hannels...</source>
        <extracomment>File menu: replaces the channels with the rows of a spreadsheet file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="722">
        <source>Ex&amp;port Frequencies...</source>
        <extracomment>File menu: writes the RF frequency table as a spreadsheet file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="723">
        <source>Export Channe&amp;ls...</source>
        <extracomment>File menu: writes the channels as a spreadsheet file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="724">
        <source>Spreadsheet files (*.csv)</source>
        <extracomment>File dialog filter of the import and export commands. Keep (*.csv).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="725">
        <source>%d rows imported.</source>
        <extracomment>Status bar after an import; %d is the number of rows.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="726">
        <source>The file %s could not be written: %s</source>
        <extracomment>%s: the file's path, then the system's reason.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="727">
        <source>The file %s could not be read: %s</source>
        <extracomment>%s: the file's path, then the reason.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="728">
        <source>...and %d more.</source>
        <extracomment>Ends a list of import problems that was shortened; %d is how many were left out.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="740">
        <source>Codeplug Password (4-digit number)</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="741">
        <source>Confirm Password (4-digit number)</source>
        <extracomment>Label on the general settings page: the password typed a second time.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="742">
        <source>Power Up Text</source>
        <extracomment>Label on the general settings page: the text a display shows when the radio is switched on.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="743">
        <source>Repeater Station ID</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="744">
        <source>Repeater ID Mode</source>
        <extracomment>Label on the general settings page: when the repeater sends its station ID.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="745">
        <source>Disable All LEDs</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="746">
        <source>Disable Restore Factory Default</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="747">
        <source>Enable Programming Mode</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="748">
        <source>Disable Battery Save</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="749">
        <source>Back Light (Sec.)</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="750">
        <source>Tx Hangtime (Sec.)</source>
        <extracomment>Label on the general settings page: how long a repeater keeps transmitting after a signal ends.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="751">
        <source>Tx Low Battery (Min.)</source>
        <extracomment>Label on the general settings page: minutes a repeater keeps transmitting on a low battery.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="752">
        <source>On Battery Alert Tone</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="753">
        <source>Enable Courtesy Over Beep</source>
        <extracomment>Check box on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="754">
        <source>Transmit Timeout Timer (Sec.)</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="755">
        <source>KT Reverse Burst</source>
        <extracomment>Label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="756">
        <source>Alternate Battery Selection</source>
        <extracomment>Group caption and label on the general settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="757">
        <source>Alkaline</source>
        <extracomment>Battery type list item.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="758">
        <source>Nickel/LiIon</source>
        <extracomment>Battery type list item.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="759">
        <source>Disable</source>
        <extracomment>Repeater ID mode and battery alert tone list item: never.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="760">
        <source>15 min</source>
        <extracomment>List item: every 15 minutes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="761">
        <source>30 min</source>
        <extracomment>List item: every 30 minutes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="762">
        <source>45 min</source>
        <extracomment>List item: every 45 minutes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="763">
        <source>60 min</source>
        <extracomment>List item: every 60 minutes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="764">
        <source>After conversation</source>
        <extracomment>Repeater ID mode list item.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="770">
        <source>Microphone Gain</source>
        <extracomment>Label on the audio settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="771">
        <source>Accessory Microphone Gain</source>
        <extracomment>Label on the audio settings page: a headset or speaker microphone.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="772">
        <source>VOX Level</source>
        <extracomment>Label on the audio settings page: voice-operated transmission with a headset.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="773">
        <source>iVOX Level</source>
        <extracomment>Label on the audio settings page: voice-operated transmission with the internal microphone.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="774">
        <source>Channel Announcement Language</source>
        <extracomment>Label on the audio settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="775">
        <source>Roger Beep Tone</source>
        <extracomment>Label on the audio settings page: a tone at the end of each transmission.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="776">
        <source>Keypad Beep</source>
        <extracomment>Label on the audio settings page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="777">
        <source>Low</source>
        <extracomment>Microphone gain or VOX level.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="778">
        <source>Medium</source>
        <extracomment>Microphone gain or VOX level.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="779">
        <source>High</source>
        <extracomment>Microphone gain or VOX level.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="780">
        <source>OFF</source>
        <extracomment>VOX level or channel announcement switched off.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="781">
        <source>English</source>
        <extracomment>Channel announcement language.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="782">
        <source>French</source>
        <extracomment>Channel announcement language.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="783">
        <source>Spanish</source>
        <extracomment>Channel announcement language.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="784">
        <source>KT Code %d (Hz)</source>
        <extracomment>Label on the customized KT page; %d is the code number (124 to 129).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="785">
        <source>KT Code %d (OCT)</source>
        <extracomment>Label on the customized VRC page; %d is the code number (214 to 219), the value is octal.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="800">
        <source>Add to Scan List</source>
        <extracomment>Undo history: channels moved into the scan list on the scan list page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="801">
        <source>Remove from Scan List</source>
        <extracomment>Undo history: channels moved out of the scan list on the scan list page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="820">
        <source>Feature</source>
        <extracomment>Section header on the Buttons page, above the button rows.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="821">
        <source>Keypad Lock</source>
        <extracomment>Buttons page: lock the keypad.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="822">
        <source>Side Button 1 (SB1)</source>
        <extracomment>Buttons page: the upper button on the radio's side.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="823">
        <source>Side Button 2 (SB2)</source>
        <extracomment>Buttons page: the lower button on the radio's side.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="824">
        <source>Button A</source>
        <extracomment>Buttons page: the programmable button A.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="825">
        <source>Button B</source>
        <extracomment>Buttons page: the programmable button B.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="826">
        <source>Button C</source>
        <extracomment>Buttons page: the programmable button C.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="827">
        <source>Scramble Button</source>
        <extracomment>Buttons page: what the scramble button does (Selectable or ON/OFF).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="828">
        <source>Call Tone</source>
        <extracomment>Buttons page: label of the call tone list.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="829">
        <source>Preset 1 Channel</source>
        <extracomment>Buttons page: the channel the Preset 1 button goes to.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="830">
        <source>Preset 2 Channel</source>
        <extracomment>Buttons page: the channel the Preset 2 button goes to.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="831">
        <source>Button Reset</source>
        <extracomment>Buttons page: push button giving every button its default feature.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="832">
        <source>Selectable</source>
        <extracomment>Scramble button mode: the user picks a scramble code.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="833">
        <source>ON/OFF</source>
        <extracomment>Scramble button mode: the button only switches scramble on and off.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="834">
        <source>OFF</source>
        <extracomment>Call tone list: no call tone.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="835">
        <source>Radio picture</source>
        <extracomment>Accessible name of the picture of the radio on the Buttons page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="900">
        <source>Detailed Report</source>
        <extracomment>Name of the report listing every setting; also its file name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="901">
        <source>Customer Handout</source>
        <extracomment>Name of the leaflet for the radio's user; also its file name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="902">
        <source>Channel #</source>
        <extracomment>Report column: channel number.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="903">
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="904">
        <source>Frequency(Index)</source>
        <extracomment>Report column: a frequency with its index in the frequency table.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="905">
        <source>Frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="906">
        <source>MHz</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="907">
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="908">
        <source>Receive/Transmit</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="909">
        <source>%s KHz</source>
        <extracomment>A bandwidth; %s is the number.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="910">
        <source>(default)</source>
        <extracomment>Follows a button function that is the button's factory setting.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="911">
        <source>Accessory Jack</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="912">
        <source>Channel Selector</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="913">
        <source>ZN420</source>
        <extracomment>Product family name, normally left unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="914">
        <source>Down Button:</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="915">
        <source>Li-Ion Battery Pack</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="916">
        <source>Menu Button:</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="917">
        <source>Menu Mode</source>
        <extracomment>Customer handout.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="918">
        <source>Microphone</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="919">
        <source>Model Number</source>
        <extracomment>Customer handout.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="920">
        <source>Model</source>
        <extracomment>Customer handout.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="921">
        <source>Power/Volume Knob</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="922">
        <source>Push-to-Talk (PTT)</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="923">
        <source>QMV</source>
        <extracomment>Product series name, normally left unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="924">
        <source>Scroll down the menu items/change channel</source>
        <extracomment>Customer handout.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="925">
        <source>Scroll up the menu items/change channel</source>
        <extracomment>Customer handout.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="926">
        <source>GQ730</source>
        <extracomment>Model name, normally left unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="927">
        <source>Spring Action Belt Clip</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="928">
        <source>Tri-Color LED</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="929">
        <source>Up Button:</source>
        <extracomment>Customer handout: a part of the radio.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="930">
        <source>Wolk Series</source>
        <extracomment>Product series name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message id="931">
        <source>JVB</source>
        <extracomment>Maker's name, normally left unchanged.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
