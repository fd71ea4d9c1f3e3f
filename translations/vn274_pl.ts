<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="en">
<context>
    <name>AllDriversDialog</name>
    <message>
        <source>Change Firmware Of All Drivers</source>
        <translation>Zmiana oprogramowania wszystkich sterowników</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Numer seryjny</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Tryb</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Postęp</translation>
    </message>
    <message>
        <source>Last line</source>
        <translation>Ostatni komunikat</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Wynik</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Zatrzymaj</translation>
    </message>
    <message>
        <source>Warning: %1; these firmware changes are not recorded</source>
        <translation>Uwaga: %1; te zmiany oprogramowania nie zostaną zapisane w rejestrze produkcji</translation>
    </message>
    <message>
        <source>Stopping: each change ends at its next step…</source>
        <translation>Zatrzymywanie: każda zmiana kończy się przed swoim następnym krokiem…</translation>
    </message>
    <message>
        <source>The new application runs</source>
        <translation>Nowa aplikacja działa</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Nieudana: %1</translation>
    </message>
    <message>
        <source>Stopped in its bootloader, ready for another attempt</source>
        <translation>Zatrzymana w bootloaderze, gotowa do ponownej próby</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Zatrzymana</translation>
    </message>
    <message>
        <source>not in the firmware history: %1</source>
        <translation>brak w historii oprogramowania: %1</translation>
    </message>
    <message>
        <source>Changed: %1, failed or stopped: %2, in progress: %3</source>
        <translation>Zmienione: %1, nieudane lub zatrzymane: %2, w toku: %3</translation>
    </message>
    <message>
        <source>Firmware change in progress</source>
        <translation>Trwa zmiana oprogramowania</translation>
    </message>
    <message>
        <source>Drivers still being changed: %1.</source>
        <translation>Sterowniki, których zmiana jeszcze trwa: %1.</translation>
    </message>
    <message>
        <source>Stop their changes and close? Each stops at its next step; a driver left in its bootloader is ready for another attempt.</source>
        <translation>Zatrzymać ich zmiany i zamknąć? Każda zatrzyma się przed swoim następnym krokiem; sterownik pozostawiony w bootloaderze jest gotowy do ponownej próby.</translation>
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
        <translation>aplikacja</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>niepodłączony</translation>
    </message>
</context>
<context>
    <name>DialogInfo</name>
    <message>
        <source>Vn274 Information</source>
        <translation>Vn274 – informacje</translation>
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
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Oprogramowanie konfiguracyjne sterownika Vn274&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;img src=&quot;:/res/images/vn274_logo.png&quot; /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;www.example.com&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Example Lighting Sp. z o.o.&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;ul. Przykładowa 1&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;00-000 Przykładowo&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Polska&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;tel. +00 000 000 000&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;faks +00 000 000 001&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;e-mail: info@example.com&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>EditedTable</name>
    <message>
        <source>Get programs from the Vn274</source>
        <translation>pobranie programów z Vn274</translation>
    </message>
    <message>
        <source>Get scenes from the Vn274</source>
        <translation>pobranie scen z Vn274</translation>
    </message>
    <message>
        <source>Load programs from file</source>
        <translation>wczytanie programów z pliku</translation>
    </message>
    <message>
        <source>Load scenes from file</source>
        <translation>wczytanie scen z pliku</translation>
    </message>
    <message>
        <source>Change XFade</source>
        <translation>zmianę przenikania</translation>
    </message>
    <message>
        <source>Change colour</source>
        <translation>zmianę koloru</translation>
    </message>
    <message>
        <source>Paste scene</source>
        <translation>wklejenie sceny</translation>
    </message>
    <message>
        <source>Brighter</source>
        <translation>rozjaśnienie</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>przyciemnienie</translation>
    </message>
    <message>
        <source>Move step</source>
        <translation>przeniesienie kroku</translation>
    </message>
    <message>
        <source>Copy step</source>
        <translation>skopiowanie kroku</translation>
    </message>
    <message>
        <source>Move scene</source>
        <translation>przeniesienie sceny</translation>
    </message>
    <message>
        <source>Copy scene by dragging</source>
        <translation>skopiowanie sceny przeciągnięciem</translation>
    </message>
    <message>
        <source>Insert empty step</source>
        <translation>wstawienie pustego kroku</translation>
    </message>
    <message>
        <source>Delete step</source>
        <translation>usunięcie kroku</translation>
    </message>
    <message>
        <source>Insert empty scene</source>
        <translation>wstawienie pustej sceny</translation>
    </message>
    <message>
        <source>Delete scene</source>
        <translation>usunięcie sceny</translation>
    </message>
    <message>
        <source>Paste program</source>
        <translation>wklejenie programu</translation>
    </message>
    <message>
        <source>Change scene time</source>
        <translation>zmianę czasu sceny</translation>
    </message>
    <message>
        <source>Change end marker</source>
        <translation>zmianę znacznika końca</translation>
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
        <translation>Ustawienia pojedynczej diody</translation>
    </message>
    <message>
        <source>Add 1 to red</source>
        <comment>no comment</comment>
        <translation>Dodaj 1 do czerwonego</translation>
    </message>
    <message>
        <source>Add 1 to green</source>
        <comment>no comment</comment>
        <translation>Dodaj 1 do zielonego</translation>
    </message>
    <message>
        <source>Add 1 to blue</source>
        <comment>no comment</comment>
        <translation>Dodaj 1 do niebieskiego</translation>
    </message>
    <message>
        <source>Remove 1 from red</source>
        <comment>no comment</comment>
        <translation>Odejmij 1 od czerwonego</translation>
    </message>
    <message>
        <source>Remove 1 from green</source>
        <comment>no comment</comment>
        <translation>Odejmij 1 od zielonego</translation>
    </message>
    <message>
        <source>Remove 1 from blue</source>
        <comment>no comment</comment>
        <translation>Odejmij 1 od niebieskiego</translation>
    </message>
    <message>
        <source>Value of red color &lt;0-255&gt; </source>
        <comment>no comment</comment>
        <translation>Wartość koloru czerwonego &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next green edit box, SHIFT+TAB previous blue edit box</source>
        <comment>wprowadzanie wartosci z klawiatury, klawisz TAB oraz SHIFT+TAB przejscie do nastepnego/poprzedniego pola</comment>
        <translation>TAB – następne pole (zielony), SHIFT+TAB – poprzednie pole (niebieski)</translation>
    </message>
    <message>
        <source>Value of green color &lt;0-255&gt; </source>
        <comment>no comment</comment>
        <translation>Wartość koloru zielonego &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next blue edit box, SHIFT+TAB previous red edit box</source>
        <comment>wprowadzanie wartosci z klawiatury, klawisz TAB oraz SHIFT+TAB przejscie do nastepnego/poprzedniego pola</comment>
        <translation>TAB – następne pole (niebieski), SHIFT+TAB – poprzednie pole (czerwony)</translation>
    </message>
    <message>
        <source>Value of blue color &lt;0-255&gt; </source>
        <comment>no comment</comment>
        <translation>Wartość koloru niebieskiego &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next red edit box, SHIFT+TAB previous green edit box</source>
        <comment>wprowadzanie wartosci z klawiatury, klawisz TAB oraz SHIFT+TAB przejscie do nastepnego/poprzedniego pola</comment>
        <translation>TAB – następne pole (czerwony), SHIFT+TAB – poprzednie pole (zielony)</translation>
    </message>
    <message>
        <source>DMX addres</source>
        <comment>no comment</comment>
        <translation>Adres DMX</translation>
    </message>
</context>
<context>
    <name>LampAreaActions</name>
    <message>
        <source>Copy scene</source>
        <translation>Kopiuj scenę</translation>
    </message>
    <message>
        <source>Paste scene</source>
        <translation>Wklej scenę</translation>
    </message>
    <message>
        <source>Brighter</source>
        <translation>Jaśniej</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>Ciemniej</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Odznacz wszystko</translation>
    </message>
    <message>
        <source>Select sliders with Ctrl+click, or sweep over them with Shift held.</source>
        <translation>Suwaki zaznacza się klikając z Ctrl albo przesuwając nad nimi kursor z wciśniętym Shift.</translation>
    </message>
    <message>
        <source>Raise every selected slider by 10 % (%1).</source>
        <translation>Podnosi każdy zaznaczony suwak o 10 % (%1).</translation>
    </message>
    <message>
        <source>Lower every selected slider by 10 % (%1).</source>
        <translation>Obniża każdy zaznaczony suwak o 10 % (%1).</translation>
    </message>
    <message>
        <source>Clear the selection of sliders on this tab (%1).</source>
        <translation>Usuwa zaznaczenie suwaków na tej karcie (%1).</translation>
    </message>
</context>
<context>
    <name>ProgramOverview</name>
    <message>
        <source>Step %1</source>
        <translation>Krok %1</translation>
    </message>
    <message>
        <source>Step %1: end marker</source>
        <translation>Krok %1: znacznik końca</translation>
    </message>
    <message>
        <source>Step %1: after the end marker</source>
        <translation>Krok %1: za znacznikiem końca</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Scena %1</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Katalog</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Napęd</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Nieznany</translation>
    </message>
</context>
<context>
    <name>QDialog</name>
    <message>
        <source>Vn274 ver. </source>
        <translation>Vn274 wer. </translation>
    </message>
</context>
<context>
    <name>ReleaseSignature</name>
    <message>
        <source>fewer than four lines</source>
        <translation>mniej niż cztery wiersze</translation>
    </message>
    <message>
        <source>the first line is not an untrusted comment</source>
        <translation>pierwszy wiersz nie jest niezaufanym komentarzem</translation>
    </message>
    <message>
        <source>the third line is not a trusted comment</source>
        <translation>trzeci wiersz nie jest zaufanym komentarzem</translation>
    </message>
    <message>
        <source>the signature line is not 74 bytes in base64</source>
        <translation>wiersz podpisu nie zawiera 74 bajtów w base64</translation>
    </message>
    <message>
        <source>the signature algorithm is neither ED nor Ed</source>
        <translation>algorytm podpisu nie jest ani ED, ani Ed</translation>
    </message>
    <message>
        <source>the comment signature line is not 64 bytes in base64</source>
        <translation>wiersz podpisu komentarza nie zawiera 64 bajtów w base64</translation>
    </message>
    <message>
        <source>Release signature refused: the file cannot be read</source>
        <translation>Podpis wydania odrzucony: nie można odczytać pliku</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is larger than an upgrade file</source>
        <translation>Podpis wydania odrzucony: plik %1 jest większy niż plik aktualizacji</translation>
    </message>
    <message>
        <source>Release signature refused: a legacy signature (Ed) over a file larger than an upgrade file</source>
        <translation>Podpis wydania odrzucony: podpis starego typu (Ed) obejmuje plik większy niż plik aktualizacji</translation>
    </message>
    <message>
        <source>Release signature refused: it does not match the file (the file or its signature was changed)</source>
        <translation>Podpis wydania odrzucony: nie pasuje do pliku (zmieniono plik lub jego podpis)</translation>
    </message>
    <message>
        <source>Release signature refused: no signature file %1 beside the file</source>
        <translation>Podpis wydania odrzucony: brak pliku podpisu %1 obok pliku</translation>
    </message>
    <message>
        <source>Release signature refused: %1 cannot be read: %2</source>
        <translation>Podpis wydania odrzucony: nie można odczytać %1: %2</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is too large for a signature file (more than %2 bytes)</source>
        <translation>Podpis wydania odrzucony: %1 jest za duży jak na plik podpisu (ponad %2 bajtów)</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is truncated (%2)</source>
        <translation>Podpis wydania odrzucony: %1 jest obcięty (%2)</translation>
    </message>
    <message>
        <source>Release signature refused: %1 is malformed (%2)</source>
        <translation>Podpis wydania odrzucony: %1 ma błędną postać (%2)</translation>
    </message>
    <message>
        <source>Release signatures are not checked by this build</source>
        <translation>Ta wersja programu nie sprawdza podpisów wydań</translation>
    </message>
    <message>
        <source>Release signature refused: libsodium cannot start</source>
        <translation>Podpis wydania odrzucony: nie można uruchomić biblioteki libsodium</translation>
    </message>
    <message>
        <source>Release signature refused: signed by another key (%1), not by the release key %2</source>
        <translation>Podpis wydania odrzucony: podpisany innym kluczem (%1), nie kluczem wydań %2</translation>
    </message>
    <message>
        <source>Release signature refused: the trusted comment or its signature was changed</source>
        <translation>Podpis wydania odrzucony: zmieniono zaufany komentarz lub jego podpis</translation>
    </message>
    <message>
        <source>Signed release: %1 (release key %2)</source>
        <translation>Podpisane wydanie: %1 (klucz wydań %2)</translation>
    </message>
    <message>
        <source>a line holds a NUL byte</source>
        <translation>wiersz zawiera bajt NUL</translation>
    </message>
    <message>
        <source>the untrusted comment is longer than 1022 bytes</source>
        <translation>niezaufany komentarz jest dłuższy niż 1022 bajty</translation>
    </message>
    <message>
        <source>the signature line is longer than 101 bytes</source>
        <translation>wiersz podpisu jest dłuższy niż 101 bajtów</translation>
    </message>
    <message>
        <source>Release signature refused: signed by another key (%1), not by one of the release keys %2</source>
        <translation>Podpis wydania odrzucony: podpisany innym kluczem (%1), nie jednym z kluczy wydań %2</translation>
    </message>
</context>
<context>
    <name>ShowJson</name>
    <message>
        <source>a number</source>
        <translation>liczba</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>napis</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>tablica</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>obiekt</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nic</translation>
    </message>
    <message>
        <source>broken JSON at line %1, column %2: %3</source>
        <translation>uszkodzony JSON w wierszu %1, kolumnie %2: %3</translation>
    </message>
    <message>
        <source>%1 is not %2</source>
        <translation>%1 to nie %2</translation>
    </message>
    <message>
        <source>%1 is neither %2 nor %3</source>
        <translation>%1 to ani %2, ani %3</translation>
    </message>
    <message>
        <source>%1 is not a version this program reads (it reads %2)</source>
        <translation>%1 to nie wersja, którą ten program czyta (czyta wersję %2)</translation>
    </message>
    <message>
        <source>%1 is not %2 hexadecimal digits</source>
        <translation>%1 to nie %2 cyfr szesnastkowych</translation>
    </message>
    <message>
        <source>%1 is not a colour #RRGGBB</source>
        <translation>%1 to nie kolor #RRGGBB</translation>
    </message>
    <message>
        <source>unknown key %1</source>
        <translation>nieznany klucz %1</translation>
    </message>
    <message>
        <source>missing key %1</source>
        <translation>brak klucza %1</translation>
    </message>
    <message>
        <source>expected an object, found %1</source>
        <translation>oczekiwano obiektu, jest %1</translation>
    </message>
    <message>
        <source>expected an array, found %1</source>
        <translation>oczekiwano tablicy, jest %1</translation>
    </message>
    <message>
        <source>expected %1 entries, found %2</source>
        <translation>oczekiwano %1 pozycji, jest %2</translation>
    </message>
    <message>
        <source>expected a string, found %1</source>
        <translation>oczekiwano napisu, jest %1</translation>
    </message>
    <message>
        <source>expected a whole number, found %1</source>
        <translation>oczekiwano liczby całkowitej, jest %1</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 to nie liczba całkowita</translation>
    </message>
    <message>
        <source>%1 does not fit its field (%2 to %3)</source>
        <translation>%1 nie mieści się w polu (od %2 do %3)</translation>
    </message>
    <message>
        <source>cannot read the file: %1</source>
        <translation>nie można odczytać pliku: %1</translation>
    </message>
    <message>
        <source>the file is larger than 1 MiB, far more than programs or scenes as JSON</source>
        <translation>plik jest większy niż 1 MiB, znacznie więcej niż programy lub sceny w JSON</translation>
    </message>
    <message>
        <source>key %1 given twice</source>
        <translation>klucz %1 podany dwa razy</translation>
    </message>
</context>
<context>
    <name>SuperRGB</name>
    <message>
        <source>DMX addres</source>
        <translation>Adres DMX</translation>
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
        <translation>rejestr produkcji nigdy nie wydał numeru seryjnego &apos;%1&apos;; zmiana oprogramowania i tak zostaje w nim zapisana</translation>
    </message>
    <message>
        <source>the firmware change (%1) is not in the record: %2</source>
        <translation>zmiana oprogramowania (%1) nie została zapisana w rejestrze produkcji: %2</translation>
    </message>
</context>
<context>
    <name>Upgrader</name>
    <message>
        <source>Serial:</source>
        <translation>Numer seryjny:</translation>
    </message>
    <message>
        <source>Bootloader Version Read Error</source>
        <translation>Błąd odczytu wersji bootloadera</translation>
    </message>
    <message>
        <source>Apllication mode</source>
        <translation>Tryb aplikacji</translation>
    </message>
    <message>
        <source>Reset device</source>
        <translation>Restart urządzenia</translation>
    </message>
    <message>
        <source>USB timout
Check USB cable</source>
        <translation>Przekroczony czas USB
Sprawdź kabel USB</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Rozłączanie</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Łączenie</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>BŁĄD</translation>
    </message>
    <message>
        <source>Writting External Flash ... </source>
        <translation>Zapis pamięci zewnętrznej ... </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Verify External Flash ...  </source>
        <translation>Weryfikacja pamięci zewnętrznej ...  </translation>
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
        <translation>Błędny nagłówek pliku</translation>
    </message>
    <message>
        <source>Wrong file version</source>
        <translation>Błędna wersja pliku</translation>
    </message>
    <message>
        <source>Wrong file checksum</source>
        <translation>Błędna suma kontrolna pliku</translation>
    </message>
    <message>
        <source>USB Timeout
Check USB Cable</source>
        <translation>Przekroczony czas USB
Sprawdź kabel USB</translation>
    </message>
    <message>
        <source>Bootloader mode</source>
        <translation>Tryb bootloadera</translation>
    </message>
    <message>
        <source>Writting firmware ... </source>
        <translation>Zapis oprogramowania ... </translation>
    </message>
    <message>
        <source>The new application runs on the driver %1</source>
        <translation>Nowa aplikacja działa na sterowniku %1</translation>
    </message>
    <message>
        <source>The new application did not start: the driver %1 is still in its bootloader, ready for another attempt</source>
        <translation>Nowa aplikacja nie uruchomiła się: sterownik %1 pozostaje w bootloaderze, gotowy do ponownej próby</translation>
    </message>
    <message>
        <source>The new application did not start: the driver %1 did not come back within 10 s</source>
        <translation>Nowa aplikacja nie uruchomiła się: sterownik %1 nie powrócił w ciągu 10 s</translation>
    </message>
    <message>
        <source>Wrong file length</source>
        <translation>Błędna długość pliku</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Uwaga: %1</translation>
    </message>
    <message>
        <source>Warning: %1; this firmware change is not recorded</source>
        <translation>Uwaga: %1; ta zmiana oprogramowania nie zostanie zapisana w rejestrze produkcji</translation>
    </message>
</context>
<context>
    <name>Vn274_bootloader</name>
    <message>
        <source>Vn274 ver. </source>
        <translation>Vn274 wer. </translation>
    </message>
    <message>
        <source>Wrong file header</source>
        <translation>Błędny nagłówek pliku</translation>
    </message>
    <message>
        <source>Wrong version</source>
        <translation>Błędna wersja</translation>
    </message>
    <message>
        <source>Wrong file length</source>
        <translation>Błędna długość pliku</translation>
    </message>
    <message>
        <source>Can&apos;t write file</source>
        <translation>Nie można zapisać pliku</translation>
    </message>
    <message>
        <source>File error</source>
        <translation>Błąd pliku</translation>
    </message>
    <message>
        <source>Save Programs File</source>
        <translation>Zapisz plik programów</translation>
    </message>
    <message>
        <source>Programs Files (*.pgm)</source>
        <translation>Pliki programów (*.pgm)</translation>
    </message>
    <message>
        <source>Open Programs File</source>
        <translation>Otwórz plik programów</translation>
    </message>
    <message>
        <source>Save Scenes File</source>
        <translation>Zapisz plik scen</translation>
    </message>
    <message>
        <source>Scens Files (*.scn)</source>
        <translation>Pliki scen (*.scn)</translation>
    </message>
    <message>
        <source>Open Scenes File</source>
        <translation>Otwórz plik scen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>USB Timeout
Check USB Cable</source>
        <translation>Przekroczony czas USB
Sprawdź kabel USB</translation>
    </message>
    <message>
        <source>ReadExternalFlashFromAddress</source>
        <translation>Błąd odczytu pamięci zewnętrznej (ReadExternalFlashFromAddress)</translation>
    </message>
    <message>
        <source>WriteExternalFlashToAddress</source>
        <translation>Błąd zapisu pamięci zewnętrznej (WriteExternalFlashToAddress)</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Otwórz plik</translation>
    </message>
    <message>
        <source>Hex (*.hex)</source>
        <translation>Pliki Hex (*.hex)</translation>
    </message>
    <message>
        <source>HexToBin error: %1)</source>
        <translation>Błąd HexToBin: %1</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Zapisz plik</translation>
    </message>
    <message>
        <source>Upg (*.upg)</source>
        <translation>Pliki aktualizacji (*.upg)</translation>
    </message>
    <message>
        <source>Wrong file version</source>
        <translation>Błędna wersja pliku</translation>
    </message>
    <message>
        <source>Wrong file checksum</source>
        <translation>Błędna suma kontrolna pliku</translation>
    </message>
    <message>
        <source>Can&apos;t connect to RQ518
Check USB cable</source>
        <translation>Nie można połączyć się z RQ518
Sprawdź kabel USB</translation>
    </message>
    <message>
        <source>Cable error</source>
        <translation>Błąd kabla</translation>
    </message>
    <message>
        <source>Can&apos;t connect to RQ518
Chcek USB cable</source>
        <translation>Nie można połączyć się z RQ518
Sprawdź kabel USB</translation>
    </message>
    <message>
        <source>Bootloader mode</source>
        <translation>Tryb bootloadera</translation>
    </message>
    <message>
        <source>Apllication mode</source>
        <translation>Tryb aplikacji</translation>
    </message>
    <message>
        <source>Reset device</source>
        <translation>Restart urządzenia</translation>
    </message>
    <message>
        <source>USB timout</source>
        <translation>Przekroczony czas USB</translation>
    </message>
    <message>
        <source>boot_usb-&gt;connect()</source>
        <translation>boot_usb-&gt;connect()</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Rozłączanie</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Łączenie</translation>
    </message>
    <message>
        <source>Serial:</source>
        <translation>Numer seryjny:</translation>
    </message>
    <message>
        <source>Writting firmware ... </source>
        <translation>Zapis oprogramowania ... </translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>BŁĄD</translation>
    </message>
    <message>
        <source>Page Write Error</source>
        <translation>Błąd zapisu strony</translation>
    </message>
    <message>
        <source>Page Read Error</source>
        <translation>Błąd odczytu strony</translation>
    </message>
    <message>
        <source>Page Verify Error %0 adr 0x%1</source>
        <translation>Błąd weryfikacji strony %0 adr 0x%1</translation>
    </message>
    <message>
        <source>Page Verify Error</source>
        <translation>Błąd weryfikacji strony</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change external flash?</source>
        <translation>Zmienić zawartość pamięci zewnętrznej?</translation>
    </message>
    <message>
        <source>Writting External Flash ... </source>
        <translation>Zapis pamięci zewnętrznej ... </translation>
    </message>
    <message>
        <source>Verify External Flash ...  </source>
        <translation>Weryfikacja pamięci zewnętrznej ...  </translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Informacja</translation>
    </message>
    <message>
        <source>Write OK</source>
        <translation>Zapis poprawny</translation>
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
        <translation>Trwa zmiana oprogramowania</translation>
    </message>
    <message>
        <source>Production year</source>
        <translation>Rok produkcji</translation>
    </message>
    <message>
        <source>Year(YY)</source>
        <translation>Rok (RR)</translation>
    </message>
    <message>
        <source>Production mont</source>
        <translation>Miesiąc produkcji</translation>
    </message>
    <message>
        <source>Month(MM)</source>
        <translation>Miesiąc (MM)</translation>
    </message>
    <message>
        <source>Production day</source>
        <translation>Dzień produkcji</translation>
    </message>
    <message>
        <source>Day(DD)</source>
        <translation>Dzień (DD)</translation>
    </message>
    <message>
        <source>Production number</source>
        <translation>Numer produkcyjny</translation>
    </message>
    <message>
        <source>Number(NNN)</source>
        <translation>Numer (NNN)</translation>
    </message>
    <message>
        <source>Save bootloader bin</source>
        <translation>Zapisz obraz bootloadera</translation>
    </message>
    <message>
        <source>Bin (*.bin)</source>
        <translation>Pliki binarne (*.bin)</translation>
    </message>
    <message>
        <source>New bootloader + serial:</source>
        <translation>Nowy bootloader z numerem seryjnym:</translation>
    </message>
    <message>
        <source>Read From Rq518</source>
        <translation>Odczyt z Rq518</translation>
    </message>
    <message>
        <source>Address (hex)</source>
        <translation>Adres (hex)</translation>
    </message>
    <message>
        <source>Length (dec)</source>
        <translation>Długość (dec)</translation>
    </message>
    <message>
        <source>error</source>
        <translation>błąd</translation>
    </message>
    <message>
        <source>Conversion error</source>
        <translation>Błąd konwersji</translation>
    </message>
    <message>
        <source>Fill pattern</source>
        <translation>Wzór wypełnienia</translation>
    </message>
    <message>
        <source>Number (dec)</source>
        <translation>Liczba (dec)</translation>
    </message>
    <message>
        <source>Length error</source>
        <translation>Błąd długości</translation>
    </message>
    <message>
        <source>Length should be aligned to 4</source>
        <translation>Długość powinna być wielokrotnością 4</translation>
    </message>
    <message>
        <source>Write To External Flash Rq518</source>
        <translation>Zapis do pamięci zewnętrznej Rq518</translation>
    </message>
    <message>
        <source>Data(hex)</source>
        <translation>Dane (hex)</translation>
    </message>
    <message>
        <source>Read External Flash From Rq518</source>
        <translation>Odczyt pamięci zewnętrznej z Rq518</translation>
    </message>
    <message>
        <source>ReadExternalFlashFromAddress error</source>
        <translation>Błąd odczytu pamięci zewnętrznej (ReadExternalFlashFromAddress)</translation>
    </message>
    <message>
        <source>ReadFromAddress error</source>
        <translation>Błąd odczytu pamięci (ReadFromAddress)</translation>
    </message>
    <message>
        <source>WriteExternalFlashToAddress error</source>
        <translation>Błąd zapisu pamięci zewnętrznej (WriteExternalFlashToAddress)</translation>
    </message>
    <message>
        <source>The programs and the scenes have changes that were neither saved to a file nor set in the Vn274.</source>
        <translation>Programy i sceny mają zmiany, które nie zostały zapisane do pliku ani ustawione w Vn274.</translation>
    </message>
    <message>
        <source>The programs have changes that were neither saved to a file nor set in the Vn274.</source>
        <translation>Programy mają zmiany, które nie zostały zapisane do pliku ani ustawione w Vn274.</translation>
    </message>
    <message>
        <source>The scenes have changes that were neither saved to a file nor set in the Vn274.</source>
        <translation>Sceny mają zmiany, które nie zostały zapisane do pliku ani ustawione w Vn274.</translation>
    </message>
    <message>
        <source>Close the window and lose them?</source>
        <translation>Zamknąć okno i utracić te zmiany?</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Niezapisane zmiany</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edycja</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Cofnij</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ponów</translation>
    </message>
    <message>
        <source>Insert empty step before</source>
        <translation>Wstaw pusty krok przed</translation>
    </message>
    <message>
        <source>Delete step</source>
        <translation>Usuń krok</translation>
    </message>
    <message>
        <source>Copy program</source>
        <translation>Kopiuj program</translation>
    </message>
    <message>
        <source>Paste program</source>
        <translation>Wklej program</translation>
    </message>
    <message>
        <source>Insert empty scene before</source>
        <translation>Wstaw pustą scenę przed</translation>
    </message>
    <message>
        <source>Delete scene</source>
        <translation>Usuń scenę</translation>
    </message>
    <message>
        <source>Step 20 is not empty</source>
        <translation>Krok 20 nie jest pusty</translation>
    </message>
    <message>
        <source>Scene 8 is not empty</source>
        <translation>Scena 8 nie jest pusta</translation>
    </message>
    <message>
        <source>Step 20 of program %1 is not empty. It falls off the end of the program.</source>
        <translation>Krok 20 programu %1 nie jest pusty. Wypadnie poza koniec programu.</translation>
    </message>
    <message>
        <source>Scene 8 is not empty. It falls off the end of the scenes.</source>
        <translation>Scena 8 nie jest pusta. Wypadnie poza koniec scen.</translation>
    </message>
    <message>
        <source>Go on?</source>
        <translation>Kontynuować?</translation>
    </message>
    <message>
        <source>Warning: the HEX file puts no byte into 0x08000000-0x08003FFF: the image is blank but for its serial number</source>
        <translation>Uwaga: plik HEX nie zawiera ani jednego bajtu dla 0x08000000-0x08003FFF: obraz jest pusty poza numerem seryjnym</translation>
    </message>
    <message>
        <source>Programs as JSON (*.json)</source>
        <translation>Programy jako JSON (*.json)</translation>
    </message>
    <message>
        <source>Scenes as JSON (*.json)</source>
        <translation>Sceny jako JSON (*.json)</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>Sterownik</translation>
    </message>
    <message>
        <source>Change Firmware Of All Drivers…</source>
        <translation>Zmień oprogramowanie wszystkich sterowników…</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>No driver connected</source>
        <translation>Brak podłączonego sterownika</translation>
    </message>
    <message>
        <source>(not connected)</source>
        <translation>(niepodłączony)</translation>
    </message>
    <message>
        <source>Working on the driver %1</source>
        <translation>Praca ze sterownikiem %1</translation>
    </message>
    <message>
        <source>The Vn274 %1 is not connected.
Plug it in again, or choose another driver in the Driver menu.</source>
        <translation>Vn274 %1 nie jest podłączony.
Podłącz go ponownie albo wybierz inny sterownik w menu Sterownik.</translation>
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
        <translation>Ustawienia</translation>
    </message>
    <message>
        <source>Flash %p%</source>
        <translation>Flash %p%</translation>
    </message>
    <message>
        <source>External flash write %p%</source>
        <translation>Zapis pamięci zewnętrznej %p%</translation>
    </message>
    <message>
        <source>External flash verify %p%</source>
        <translation>Weryfikacja pamięci zewnętrznej %p%</translation>
    </message>
    <message>
        <source>Firmware Change</source>
        <translation>Zmiana oprogramowania</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Połącz</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Rozłącz</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Odczyt</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Zapis</translation>
    </message>
    <message>
        <source>WritePage</source>
        <translation>Zapis strony</translation>
    </message>
    <message>
        <source>Change Firmware</source>
        <translation>Zmień oprogramowanie</translation>
    </message>
    <message>
        <source>WriteExtFlashBin</source>
        <translation>Zapis pliku bin do pamięci zewn.</translation>
    </message>
    <message>
        <source>RunApplication</source>
        <translation>Uruchom aplikację</translation>
    </message>
    <message>
        <source>WriteExternalFlash</source>
        <translation>Zapis pamięci zewnętrznej</translation>
    </message>
    <message>
        <source>ReadExternalFlash</source>
        <translation>Odczyt pamięci zewnętrznej</translation>
    </message>
    <message>
        <source>CreateUpg</source>
        <translation>Utwórz plik upg</translation>
    </message>
    <message>
        <source>CreateBootBin</source>
        <translation>Utwórz obraz bootloadera</translation>
    </message>
    <message>
        <source>StatusClr</source>
        <translation>Kasuj status</translation>
    </message>
    <message>
        <source>StatusGet</source>
        <translation>Odczytaj status</translation>
    </message>
    <message>
        <source>StatusSet</source>
        <translation>Ustaw status</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programy</translation>
    </message>
    <message>
        <source>Program Number</source>
        <translation>Numer programu</translation>
    </message>
    <message>
        <source>Scene Number</source>
        <translation>Numer sceny</translation>
    </message>
    <message>
        <source>XFade</source>
        <translation>Przenikanie</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Scene Time</source>
        <translation>Czas sceny</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>End Marker</source>
        <translation>Znacznik końca</translation>
    </message>
    <message>
        <source>Get Programs Form Vn274</source>
        <translation>Pobierz programy z Vn274</translation>
    </message>
    <message>
        <source>Set Programs In Vn274</source>
        <translation>Zapisz programy w Vn274</translation>
    </message>
    <message>
        <source>Load Programs From FIle</source>
        <translation>Wczytaj programy z pliku</translation>
    </message>
    <message>
        <source>Save Programs To File</source>
        <translation>Zapisz programy do pliku</translation>
    </message>
    <message>
        <source>Scenes</source>
        <translation>Sceny</translation>
    </message>
    <message>
        <source>Get Scenes Form Vn274</source>
        <translation>Pobierz sceny z Vn274</translation>
    </message>
    <message>
        <source>Set Scenes In Vn274</source>
        <translation>Zapisz sceny w Vn274</translation>
    </message>
    <message>
        <source>Load Scenes From File</source>
        <translation>Wczytaj sceny z pliku</translation>
    </message>
    <message>
        <source>Save Scenes To File</source>
        <translation>Zapisz sceny do pliku</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Plik</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Język</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Pomoc</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otwórz</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Vn274 - info</source>
        <translation>Vn274 – informacje</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>Polski</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Angielski</translation>
    </message>
</context>
</TS>
