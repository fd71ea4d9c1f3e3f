<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AllDriversDialog</name>
    <message>
        <source>Change Firmware Of All Drivers</source>
        <translation>Change Firmware Of All Drivers</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Last line</source>
        <translation>Last line</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Warning: %1; these firmware changes are not recorded</source>
        <translation>Warning: %1; these firmware changes are not recorded</translation>
    </message>
    <message>
        <source>Stopping: each change ends at its next step…</source>
        <translation>Stopping: each change ends at its next step…</translation>
    </message>
    <message>
        <source>The new application runs</source>
        <translation>The new application runs</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>Stopped in its bootloader, ready for another attempt</source>
        <translation>Stopped in its bootloader, ready for another attempt</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>not in the firmware history: %1</source>
        <translation>not in the firmware history: %1</translation>
    </message>
    <message>
        <source>Changed: %1, failed or stopped: %2, in progress: %3</source>
        <translation>Changed: %1, failed or stopped: %2, in progress: %3</translation>
    </message>
    <message>
        <source>Firmware change in progress</source>
        <translation>Firmware change in progress</translation>
    </message>
    <message>
        <source>Drivers still being changed: %1.</source>
        <translation>Drivers still being changed: %1.</translation>
    </message>
    <message>
        <source>Stop their changes and close? Each stops at its next step; a driver left in its bootloader is ready for another attempt.</source>
        <translation>Stop their changes and close? Each stops at its next step; a driver left in its bootloader is ready for another attempt.</translation>
    </message>
</context>
<context>
    <name>ConnectedDrivers</name>
    <message>
        <source>bootloader</source>
        <translation>bootloader</translation>
    </message>
    <message>
        <source>application</source>
        <translation>application</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>not connected</translation>
    </message>
</context>
<context>
    <name>DialogInfo</name>
    <message>
        <source>Vn274 Information</source>
        <translation>Vn274 Information</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Vn274 driver configuration software&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;img src=&quot;:/res/images/vn274_logo.png&quot; /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;www.example.com&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Example Lighting Ltd.&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;1 Example Street&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;00-000 Example City&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Exampleland&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;tel. +00 000 000 000&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;fax +00 000 000 001&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;e-mail: info@example.com&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Vn274 driver configuration software&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;img src=&quot;:/res/images/vn274_logo.png&quot; /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;www.example.com&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Example Lighting Ltd.&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;1 Example Street&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;00-000 Example City&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Exampleland&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;tel. +00 000 000 000&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;fax +00 000 000 001&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;e-mail: info@example.com&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>EditedTable</name>
    <message>
        <source>Get programs from the Vn274</source>
        <translation>Get programs from the Vn274</translation>
    </message>
    <message>
        <source>Get scenes from the Vn274</source>
        <translation>Get scenes from the Vn274</translation>
    </message>
    <message>
        <source>Load programs from file</source>
        <translation>Load programs from file</translation>
    </message>
    <message>
        <source>Load scenes from file</source>
        <translation>Load scenes from file</translation>
    </message>
    <message>
        <source>Change XFade</source>
        <translation>Change XFade</translation>
    </message>
    <message>
        <source>Change colour</source>
        <translation>Change colour</translation>
    </message>
    <message>
        <source>Paste scene</source>
        <translation>Paste scene</translation>
    </message>
    <message>
        <source>Brighter</source>
        <translation>Brighter</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>Darker</translation>
    </message>
    <message>
        <source>Move step</source>
        <translation>Move step</translation>
    </message>
    <message>
        <source>Copy step</source>
        <translation>Copy step</translation>
    </message>
    <message>
        <source>Move scene</source>
        <translation>Move scene</translation>
    </message>
    <message>
        <source>Copy scene by dragging</source>
        <translation>Copy scene by dragging</translation>
    </message>
    <message>
        <source>Insert empty step</source>
        <translation>Insert empty step</translation>
    </message>
    <message>
        <source>Delete step</source>
        <translation>Delete step</translation>
    </message>
    <message>
        <source>Insert empty scene</source>
        <translation>Insert empty scene</translation>
    </message>
    <message>
        <source>Delete scene</source>
        <translation>Delete scene</translation>
    </message>
    <message>
        <source>Paste program</source>
        <translation>Paste program</translation>
    </message>
    <message>
        <source>Change scene time</source>
        <translation>Change scene time</translation>
    </message>
    <message>
        <source>Change end marker</source>
        <translation>Change end marker</translation>
    </message>
</context>
<context>
    <name>Lamp</name>
    <message>
        <source>LampWindow</source>
        <comment>don&apos;t translate</comment>
        <translation>LampWindow</translation>
    </message>
    <message>
        <source>Single LED settings</source>
        <comment>Actual single LED settings</comment>
        <translation>Single LED settings</translation>
    </message>
    <message>
        <source>Add 1 to red</source>
        <comment>no comment</comment>
        <translation>Add 1 to red</translation>
    </message>
    <message>
        <source>Add 1 to green</source>
        <comment>no comment</comment>
        <translation>Add 1 to green</translation>
    </message>
    <message>
        <source>Add 1 to blue</source>
        <comment>no comment</comment>
        <translation>Add 1 to blue</translation>
    </message>
    <message>
        <source>Remove 1 from red</source>
        <comment>no comment</comment>
        <translation>Remove 1 from red</translation>
    </message>
    <message>
        <source>Remove 1 from green</source>
        <comment>no comment</comment>
        <translation>Remove 1 from green</translation>
    </message>
    <message>
        <source>Remove 1 from blue</source>
        <comment>no comment</comment>
        <translation>Remove 1 from blue</translation>
    </message>
    <message>
        <source>Value of red color &lt;0-255&gt; </source>
        <comment>no comment</comment>
        <translation>Value of red color &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next green edit box, SHIFT+TAB previous blue edit box</source>
        <comment>wprowadzanie wartosci z klawiatury, klawisz TAB oraz SHIFT+TAB przejscie do nastepnego/poprzedniego pola</comment>
        <translation>TAB key next green edit box, SHIFT+TAB previous blue edit box</translation>
    </message>
    <message>
        <source>Value of green color &lt;0-255&gt; </source>
        <comment>no comment</comment>
        <translation>Value of green color &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next blue edit box, SHIFT+TAB previous red edit box</source>
        <comment>wprowadzanie wartosci z klawiatury, klawisz TAB oraz SHIFT+TAB przejscie do nastepnego/poprzedniego pola</comment>
        <translation>TAB key next blue edit box, SHIFT+TAB previous red edit box</translation>
    </message>
    <message>
        <source>Value of blue color &lt;0-255&gt; </source>
        <comment>no comment</comment>
        <translation>Value of blue color &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next red edit box, SHIFT+TAB previous green edit box</source>
        <comment>wprowadzanie wartosci z klawiatury, klawisz TAB oraz SHIFT+TAB przejscie do nastepnego/poprzedniego pola</comment>
        <translation>TAB key next red edit box, SHIFT+TAB previous green edit box</translation>
    </message>
    <message>
        <source>DMX addres</source>
        <comment>no comment</comment>
        <translation>DMX addres</translation>
    </message>
</context>
<context>
    <name>LampAreaActions</name>
    <message>
        <source>Copy scene</source>
        <translation>Copy scene</translation>
    </message>
    <message>
        <source>Paste scene</source>
        <translation>Paste scene</translation>
    </message>
    <message>
        <source>Brighter</source>
        <translation>Brighter</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>Darker</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Select none</translation>
    </message>
    <message>
        <source>Select sliders with Ctrl+click, or sweep over them with Shift held.</source>
        <translation>Select sliders with Ctrl+click, or sweep over them with Shift held.</translation>
    </message>
    <message>
        <source>Raise every selected slider by 10 % (%1).</source>
        <translation>Raise every selected slider by 10 % (%1).</translation>
    </message>
    <message>
        <source>Lower every selected slider by 10 % (%1).</source>
        <translation>Lower every selected slider by 10 % (%1).</translation>
    </message>
    <message>
        <source>Clear the selection of sliders on this tab (%1).</source>
        <translation>Clear the selection of sliders on this tab (%1).</translation>
    </message>
</context>
<context>
    <name>ProgramOverview</name>
    <message>
        <source>Step %1</source>
        <translation>Step %1</translation>
    </message>
    <message>
        <source>Step %1: end marker</source>
        <translation>Step %1: end marker</translation>
    </message>
    <message>
        <source>Step %1: after the end marker</source>
        <translation>Step %1: after the end marker</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Scene %1</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>QDialog</name>
    <message>
        <source>Vn274 ver. </source>
        <translation>Vn274 ver. </translation>
    </message>
</context>
<context>
    <name>ReleaseSignature</name>
    <message>
        <source>fewer than four lines</source>
        <translation>fewer than four lines</translation>
    </message>
    <message>
        <source>the first line is not an untrusted comment</source>
        <translation>the first line is not an untrusted comment</translation>
    </message>
    <message>
        <source>the third line is not a trusted comment</source>
        <translation>the third line is not a trusted comment</translation>
    </message>
    <message>
        <source>the signature line is not 74 bytes in base64</source>
        <translation>the signature line is not 74 bytes in base64</translation>
    </message>
    <message>
        <source>the signature algorithm is neither ED nor Ed</source>
        <translation>the signature algorithm is neither ED nor Ed</translation>
    </message>
    <message>
        <source>the comment signature line is not 64 bytes in base64</source>
        <translation>the comment signature line is not 64 bytes in base64</translation>
    </message>
    <message>
        <source>Release signature refused: the file cannot be read</source>
        <translation>Release signature refused: the file cannot be read</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is larger than an upgrade file</source>
        <translation>Release signature refused: %1 is larger than an upgrade file</translation>
    </message>
    <message>
        <source>Release signature refused: a legacy signature (Ed) over a file larger than an upgrade file</source>
        <translation>Release signature refused: a legacy signature (Ed) over a file larger than an upgrade file</translation>
    </message>
    <message>
        <source>Release signature refused: it does not match the file (the file or its signature was changed)</source>
        <translation>Release signature refused: it does not match the file (the file or its signature was changed)</translation>
    </message>
    <message>
        <source>Release signature refused: no signature file %1 beside the file</source>
        <translation>Release signature refused: no signature file %1 beside the file</translation>
    </message>
    <message>
        <source>Release signature refused: %1 cannot be read: %2</source>
        <translation>Release signature refused: %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is too large for a signature file (more than %2 bytes)</source>
        <translation>Release signature refused: %1 is too large for a signature file (more than %2 bytes)</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is truncated (%2)</source>
        <translation>Release signature refused: %1 is truncated (%2)</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is malformed (%2)</source>
        <translation>Release signature refused: %1 is malformed (%2)</translation>
    </message>
    <message>
        <source>Release signatures are not checked by this build</source>
        <translation>Release signatures are not checked by this build</translation>
    </message>
    <message>
        <source>Release signature refused: libsodium cannot start</source>
        <translation>Release signature refused: libsodium cannot start</translation>
    </message>
    <message>
        <source>Release signature refused: signed by another key (%1), not by the release key %2</source>
        <translation>Release signature refused: signed by another key (%1), not by the release key %2</translation>
    </message>
    <message>
        <source>Release signature refused: the trusted comment or its signature was changed</source>
        <translation>Release signature refused: the trusted comment or its signature was changed</translation>
    </message>
    <message>
        <source>Signed release: %1 (release key %2)</source>
        <translation>Signed release: %1 (release key %2)</translation>
    </message>
    <message>
        <source>a line holds a NUL byte</source>
        <translation>a line holds a NUL byte</translation>
    </message>
    <message>
        <source>the untrusted comment is longer than 1022 bytes</source>
        <translation>the untrusted comment is longer than 1022 bytes</translation>
    </message>
    <message>
        <source>the signature line is longer than 101 bytes</source>
        <translation>the signature line is longer than 101 bytes</translation>
    </message>
    <message>
        <source>Release signature refused: signed by another key (%1), not by one of the release keys %2</source>
        <translation>Release signature refused: signed by another key (%1), not by one of the release keys %2</translation>
    </message>
</context>
<context>
    <name>ShowJson</name>
    <message>
        <source>a number</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>a string</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>an array</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>an object</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nothing</translation>
    </message>
    <message>
        <source>broken JSON at line %1, column %2: %3</source>
        <translation>broken JSON at line %1, column %2: %3</translation>
    </message>
    <message>
        <source>%1 is not %2</source>
        <translation>%1 is not %2</translation>
    </message>
    <message>
        <source>%1 is neither %2 nor %3</source>
        <translation>%1 is neither %2 nor %3</translation>
    </message>
    <message>
        <source>%1 is not a version this program reads (it reads %2)</source>
        <translation>%1 is not a version this program reads (it reads %2)</translation>
    </message>
    <message>
        <source>%1 is not %2 hexadecimal digits</source>
        <translation>%1 is not %2 hexadecimal digits</translation>
    </message>
    <message>
        <source>%1 is not a colour #RRGGBB</source>
        <translation>%1 is not a colour #RRGGBB</translation>
    </message>
    <message>
        <source>unknown key %1</source>
        <translation>unknown key %1</translation>
    </message>
    <message>
        <source>missing key %1</source>
        <translation>missing key %1</translation>
    </message>
    <message>
        <source>expected an object, found %1</source>
        <translation>expected an object, found %1</translation>
    </message>
    <message>
        <source>expected an array, found %1</source>
        <translation>expected an array, found %1</translation>
    </message>
    <message>
        <source>expected %1 entries, found %2</source>
        <translation>expected %1 entries, found %2</translation>
    </message>
    <message>
        <source>expected a string, found %1</source>
        <translation>expected a string, found %1</translation>
    </message>
    <message>
        <source>expected a whole number, found %1</source>
        <translation>expected a whole number, found %1</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 is not a whole number</translation>
    </message>
    <message>
        <source>%1 does not fit its field (%2 to %3)</source>
        <translation>%1 does not fit its field (%2 to %3)</translation>
    </message>
    <message>
        <source>cannot read the file: %1</source>
        <translation>cannot read the file: %1</translation>
    </message>
    <message>
        <source>the file is larger than 1 MiB, far more than programs or scenes as JSON</source>
        <translation>the file is larger than 1 MiB, far more than programs or scenes as JSON</translation>
    </message>
    <message>
        <source>key %1 given twice</source>
        <translation>key %1 given twice</translation>
    </message>
</context>
<context>
    <name>SuperRGB</name>
    <message>
        <source>DMX addres</source>
        <translation>DMX addres</translation>
    </message>
    <message>
        <source>L: %1</source>
        <translation>L: %1</translation>
    </message>
</context>
<context>
    <name>UpgradeRecorder</name>
    <message>
        <source>the record never issued the serial number &apos;%1&apos;; its firmware change is recorded all the same</source>
        <translation>the record never issued the serial number &apos;%1&apos;; its firmware change is recorded all the same</translation>
    </message>
    <message>
        <source>the firmware change (%1) is not in the record: %2</source>
        <translation>the firmware change (%1) is not in the record: %2</translation>
    </message>
</context>
<context>
    <name>Upgrader</name>
    <message>
        <source>Serial:</source>
        <translation>Serial:</translation>
    </message>
    <message>
        <source>Bootloader Version Read Error</source>
        <translation>Bootloader Version Read Error</translation>
    </message>
    <message>
        <source>Apllication mode</source>
        <translation>Apllication mode</translation>
    </message>
    <message>
        <source>Reset device</source>
        <translation>Reset device</translation>
    </message>
    <message>
        <source>USB timout
Check USB cable</source>
        <translation>USB timout
Check USB cable</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Writting External Flash ... </source>
        <translation>Writting External Flash ... </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Verify External Flash ...  </source>
        <translation>Verify External Flash ...  </translation>
    </message>
    <message>
        <source>read_buffer</source>
        <translation>read_buffer</translation>
    </message>
    <message>
        <source>ext_datas.data()</source>
        <translation>ext_datas.data()</translation>
    </message>
    <message>
        <source>Wrong file header</source>
        <translation>Wrong file header</translation>
    </message>
    <message>
        <source>Wrong file version</source>
        <translation>Wrong file version</translation>
    </message>
    <message>
        <source>Wrong file checksum</source>
        <translation>Wrong file checksum</translation>
    </message>
    <message>
        <source>USB Timeout
Check USB Cable</source>
        <translation>USB Timeout
Check USB Cable</translation>
    </message>
    <message>
        <source>Bootloader mode</source>
        <translation>Bootloader mode</translation>
    </message>
    <message>
        <source>Writting firmware ... </source>
        <translation>Writting firmware ... </translation>
    </message>
    <message>
        <source>The new application runs on the driver %1</source>
        <translation>The new application runs on the driver %1</translation>
    </message>
    <message>
        <source>The new application did not start: the driver %1 is still in its bootloader, ready for another attempt</source>
        <translation>The new application did not start: the driver %1 is still in its bootloader, ready for another attempt</translation>
    </message>
    <message>
        <source>The new application did not start: the driver %1 did not come back within 10 s</source>
        <translation>The new application did not start: the driver %1 did not come back within 10 s</translation>
    </message>
    <message>
        <source>Wrong file length</source>
        <translation>Wrong file length</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Warning: %1</translation>
    </message>
    <message>
        <source>Warning: %1; this firmware change is not recorded</source>
        <translation>Warning: %1; this firmware change is not recorded</translation>
    </message>
</context>
<context>
    <name>Vn274_bootloader</name>
    <message>
        <source>Vn274 ver. </source>
        <translation>Vn274 ver. </translation>
    </message>
    <message>
        <source>Wrong file header</source>
        <translation>Wrong file header</translation>
    </message>
    <message>
        <source>Wrong version</source>
        <translation>Wrong version</translation>
    </message>
    <message>
        <source>Wrong file length</source>
        <translation>Wrong file length</translation>
    </message>
    <message>
        <source>Can&apos;t write file</source>
        <translation>Can&apos;t write file</translation>
    </message>
    <message>
        <source>File error</source>
        <translation>File error</translation>
    </message>
    <message>
        <source>Save Programs File</source>
        <translation>Save Programs File</translation>
    </message>
    <message>
        <source>Programs Files (*.pgm)</source>
        <translation>Programs Files (*.pgm)</translation>
    </message>
    <message>
        <source>Open Programs File</source>
        <translation>Open Programs File</translation>
    </message>
    <message>
        <source>Save Scenes File</source>
        <translation>Save Scenes File</translation>
    </message>
    <message>
        <source>Scens Files (*.scn)</source>
        <translation>Scens Files (*.scn)</translation>
    </message>
    <message>
        <source>Open Scenes File</source>
        <translation>Open Scenes File</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>USB Timeout
Check USB Cable</source>
        <translation>USB Timeout
Check USB Cable</translation>
    </message>
    <message>
        <source>ReadExternalFlashFromAddress</source>
        <translation>ReadExternalFlashFromAddress</translation>
    </message>
    <message>
        <source>WriteExternalFlashToAddress</source>
        <translation>WriteExternalFlashToAddress</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>Hex (*.hex)</source>
        <translation>Hex (*.hex)</translation>
    </message>
    <message>
        <source>HexToBin error: %1)</source>
        <translation>HexToBin error: %1)</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Save File</translation>
    </message>
    <message>
        <source>Upg (*.upg)</source>
        <translation>Upg (*.upg)</translation>
    </message>
    <message>
        <source>Wrong file version</source>
        <translation>Wrong file version</translation>
    </message>
    <message>
        <source>Wrong file checksum</source>
        <translation>Wrong file checksum</translation>
    </message>
    <message>
        <source>Can&apos;t connect to RQ518
Check USB cable</source>
        <translation>Can&apos;t connect to RQ518
Check USB cable</translation>
    </message>
    <message>
        <source>Cable error</source>
        <translation>Cable error</translation>
    </message>
    <message>
        <source>Can&apos;t connect to RQ518
Chcek USB cable</source>
        <translation>Can&apos;t connect to RQ518
Chcek USB cable</translation>
    </message>
    <message>
        <source>Bootloader mode</source>
        <translation>Bootloader mode</translation>
    </message>
    <message>
        <source>Apllication mode</source>
        <translation>Apllication mode</translation>
    </message>
    <message>
        <source>Reset device</source>
        <translation>Reset device</translation>
    </message>
    <message>
        <source>USB timout</source>
        <translation>USB timout</translation>
    </message>
    <message>
        <source>boot_usb-&gt;connect()</source>
        <translation>boot_usb-&gt;connect()</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Serial:</source>
        <translation>Serial:</translation>
    </message>
    <message>
        <source>Writting firmware ... </source>
        <translation>Writting firmware ... </translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Page Write Error</source>
        <translation>Page Write Error</translation>
    </message>
    <message>
        <source>Page Read Error</source>
        <translation>Page Read Error</translation>
    </message>
    <message>
        <source>Page Verify Error %0 adr 0x%1</source>
        <translation>Page Verify Error %0 adr 0x%1</translation>
    </message>
    <message>
        <source>Page Verify Error</source>
        <translation>Page Verify Error</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change external flash?</source>
        <translation>Change external flash?</translation>
    </message>
    <message>
        <source>Writting External Flash ... </source>
        <translation>Writting External Flash ... </translation>
    </message>
    <message>
        <source>Verify External Flash ...  </source>
        <translation>Verify External Flash ...  </translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Write OK</source>
        <translation>Write OK</translation>
    </message>
    <message>
        <source>read_buffer</source>
        <translation>read_buffer</translation>
    </message>
    <message>
        <source>ext_datas.data()</source>
        <translation>ext_datas.data()</translation>
    </message>
    <message>
        <source>memcmp</source>
        <translation>memcmp</translation>
    </message>
    <message>
        <source>Firmware change in progress</source>
        <translation>Firmware change in progress</translation>
    </message>
    <message>
        <source>Production year</source>
        <translation>Production year</translation>
    </message>
    <message>
        <source>Year(YY)</source>
        <translation>Year(YY)</translation>
    </message>
    <message>
        <source>Production mont</source>
        <translation>Production mont</translation>
    </message>
    <message>
        <source>Month(MM)</source>
        <translation>Month(MM)</translation>
    </message>
    <message>
        <source>Production day</source>
        <translation>Production day</translation>
    </message>
    <message>
        <source>Day(DD)</source>
        <translation>Day(DD)</translation>
    </message>
    <message>
        <source>Production number</source>
        <translation>Production number</translation>
    </message>
    <message>
        <source>Number(NNN)</source>
        <translation>Number(NNN)</translation>
    </message>
    <message>
        <source>Save bootloader bin</source>
        <translation>Save bootloader bin</translation>
    </message>
    <message>
        <source>Bin (*.bin)</source>
        <translation>Bin (*.bin)</translation>
    </message>
    <message>
        <source>New bootloader + serial:</source>
        <translation>New bootloader + serial:</translation>
    </message>
    <message>
        <source>Read From Rq518</source>
        <translation>Read From Rq518</translation>
    </message>
    <message>
        <source>Address (hex)</source>
        <translation>Address (hex)</translation>
    </message>
    <message>
        <source>Length (dec)</source>
        <translation>Length (dec)</translation>
    </message>
    <message>
        <source>error</source>
        <translation>error</translation>
    </message>
    <message>
        <source>Conversion error</source>
        <translation>Conversion error</translation>
    </message>
    <message>
        <source>Fill pattern</source>
        <translation>Fill pattern</translation>
    </message>
    <message>
        <source>Number (dec)</source>
        <translation>Number (dec)</translation>
    </message>
    <message>
        <source>Length error</source>
        <translation>Length error</translation>
    </message>
    <message>
        <source>Length should be aligned to 4</source>
        <translation>Length should be aligned to 4</translation>
    </message>
    <message>
        <source>Write To External Flash Rq518</source>
        <translation>Write To External Flash Rq518</translation>
    </message>
    <message>
        <source>Data(hex)</source>
        <translation>Data(hex)</translation>
    </message>
    <message>
        <source>Read External Flash From Rq518</source>
        <translation>Read External Flash From Rq518</translation>
    </message>
    <message>
        <source>ReadExternalFlashFromAddress error</source>
        <translation>ReadExternalFlashFromAddress error</translation>
    </message>
    <message>
        <source>ReadFromAddress error</source>
        <translation>ReadFromAddress error</translation>
    </message>
    <message>
        <source>WriteExternalFlashToAddress error</source>
        <translation>WriteExternalFlashToAddress error</translation>
    </message>
    <message>
        <source>The programs and the scenes have changes that were neither saved to a file nor set in the Vn274.</source>
        <translation>The programs and the scenes have changes that were neither saved to a file nor set in the Vn274.</translation>
    </message>
    <message>
        <source>The programs have changes that were neither saved to a file nor set in the Vn274.</source>
        <translation>The programs have changes that were neither saved to a file nor set in the Vn274.</translation>
    </message>
    <message>
        <source>The scenes have changes that were neither saved to a file nor set in the Vn274.</source>
        <translation>The scenes have changes that were neither saved to a file nor set in the Vn274.</translation>
    </message>
    <message>
        <source>Close the window and lose them?</source>
        <translation>Close the window and lose them?</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Unsaved changes</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Insert empty step before</source>
        <translation>Insert empty step before</translation>
    </message>
    <message>
        <source>Delete step</source>
        <translation>Delete step</translation>
    </message>
    <message>
        <source>Copy program</source>
        <translation>Copy program</translation>
    </message>
    <message>
        <source>Paste program</source>
        <translation>Paste program</translation>
    </message>
    <message>
        <source>Insert empty scene before</source>
        <translation>Insert empty scene before</translation>
    </message>
    <message>
        <source>Delete scene</source>
        <translation>Delete scene</translation>
    </message>
    <message>
        <source>Step 20 is not empty</source>
        <translation>Step 20 is not empty</translation>
    </message>
    <message>
        <source>Scene 8 is not empty</source>
        <translation>Scene 8 is not empty</translation>
    </message>
    <message>
        <source>Step 20 of program %1 is not empty. It falls off the end of the program.</source>
        <translation>Step 20 of program %1 is not empty. It falls off the end of the program.</translation>
    </message>
    <message>
        <source>Scene 8 is not empty. It falls off the end of the scenes.</source>
        <translation>Scene 8 is not empty. It falls off the end of the scenes.</translation>
    </message>
    <message>
        <source>Go on?</source>
        <translation>Go on?</translation>
    </message>
    <message>
        <source>Warning: the HEX file puts no byte into 0x08000000-0x08003FFF: the image is blank but for its serial number</source>
        <translation>Warning: the HEX file puts no byte into 0x08000000-0x08003FFF: the image is blank but for its serial number</translation>
    </message>
    <message>
        <source>Programs as JSON (*.json)</source>
        <translation>Programs as JSON (*.json)</translation>
    </message>
    <message>
        <source>Scenes as JSON (*.json)</source>
        <translation>Scenes as JSON (*.json)</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>Driver</translation>
    </message>
    <message>
        <source>Change Firmware Of All Drivers…</source>
        <translation>Change Firmware Of All Drivers…</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>No driver connected</source>
        <translation>No driver connected</translation>
    </message>
    <message>
        <source>(not connected)</source>
        <translation>(not connected)</translation>
    </message>
    <message>
        <source>Working on the driver %1</source>
        <translation>Working on the driver %1</translation>
    </message>
    <message>
        <source>The Vn274 %1 is not connected.
Plug it in again, or choose another driver in the Driver menu.</source>
        <translation>The Vn274 %1 is not connected.
Plug it in again, or choose another driver in the Driver menu.</translation>
    </message>
</context>
<context>
    <name>Vn274_bootloaderClass</name>
    <message>
        <source>VN274</source>
        <translation>VN274</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Flash %p%</source>
        <translation>Flash %p%</translation>
    </message>
    <message>
        <source>External flash write %p%</source>
        <translation>External flash write %p%</translation>
    </message>
    <message>
        <source>External flash verify %p%</source>
        <translation>External flash verify %p%</translation>
    </message>
    <message>
        <source>Firmware Change</source>
        <translation>Firmware Change</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>WritePage</source>
        <translation>WritePage</translation>
    </message>
    <message>
        <source>Change Firmware</source>
        <translation>Change Firmware</translation>
    </message>
    <message>
        <source>WriteExtFlashBin</source>
        <translation>WriteExtFlashBin</translation>
    </message>
    <message>
        <source>RunApplication</source>
        <translation>RunApplication</translation>
    </message>
    <message>
        <source>WriteExternalFlash</source>
        <translation>WriteExternalFlash</translation>
    </message>
    <message>
        <source>ReadExternalFlash</source>
        <translation>ReadExternalFlash</translation>
    </message>
    <message>
        <source>CreateUpg</source>
        <translation>CreateUpg</translation>
    </message>
    <message>
        <source>CreateBootBin</source>
        <translation>CreateBootBin</translation>
    </message>
    <message>
        <source>StatusClr</source>
        <translation>StatusClr</translation>
    </message>
    <message>
        <source>StatusGet</source>
        <translation>StatusGet</translation>
    </message>
    <message>
        <source>StatusSet</source>
        <translation>StatusSet</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programs</translation>
    </message>
    <message>
        <source>Program Number</source>
        <translation>Program Number</translation>
    </message>
    <message>
        <source>Scene Number</source>
        <translation>Scene Number</translation>
    </message>
    <message>
        <source>XFade</source>
        <translation>XFade</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Scene Time</source>
        <translation>Scene Time</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>End Marker</source>
        <translation>End Marker</translation>
    </message>
    <message>
        <source>Get Programs Form Vn274</source>
        <translation>Get Programs Form Vn274</translation>
    </message>
    <message>
        <source>Set Programs In Vn274</source>
        <translation>Set Programs In Vn274</translation>
    </message>
    <message>
        <source>Load Programs From FIle</source>
        <translation>Load Programs From FIle</translation>
    </message>
    <message>
        <source>Save Programs To File</source>
        <translation>Save Programs To File</translation>
    </message>
    <message>
        <source>Scenes</source>
        <translation>Scenes</translation>
    </message>
    <message>
        <source>Get Scenes Form Vn274</source>
        <translation>Get Scenes Form Vn274</translation>
    </message>
    <message>
        <source>Set Scenes In Vn274</source>
        <translation>Set Scenes In Vn274</translation>
    </message>
    <message>
        <source>Load Scenes From File</source>
        <translation>Load Scenes From File</translation>
    </message>
    <message>
        <source>Save Scenes To File</source>
        <translation>Save Scenes To File</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Vn274 - info</source>
        <translation>Vn274 - info</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>Polish</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
</context>
</TS>
