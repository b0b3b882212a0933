<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AddElementCommand</name>
    <message>
        <source>Add Text</source>
        <translation>Text hinzufügen</translation>
    </message>
</context>
<context>
    <name>AddSceneCommand</name>
    <message>
        <source>Add Scene</source>
        <translation>Szene hinzufügen</translation>
    </message>
</context>
<context>
    <name>AppearanceOptionsPage</name>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>A new theme or language takes effect the next time the application starts.</source>
        <translation>Ein neues Design oder eine neue Sprache wird beim nächsten Start der Anwendung wirksam.</translation>
    </message>
    <message>
        <source>Theme:</source>
        <translation>Design:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
</context>
<context>
    <name>BrowserPreview</name>
    <message>
        <source>The browser could not be started for %1.</source>
        <translation>Der Browser konnte für %1 nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>CrashRecovery</name>
    <message>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>%1, %2 and %3</source>
        <translation>%1, %2 und %3</translation>
    </message>
    <message>
        <source>%1, %2, %3 and %4 more</source>
        <translation>%1, %2, %3 und %4 weitere</translation>
    </message>
    <message>
        <source>Veldra can recover unsaved changes of %1.</source>
        <translation>Veldra kann ungespeicherte Änderungen von %1 wiederherstellen.</translation>
    </message>
</context>
<context>
    <name>CreateProjectDialog</name>
    <message>
        <source>New Project</source>
        <translation>Neues Projekt</translation>
    </message>
    <message>
        <source>Name of the project</source>
        <translation>Name des Projekts</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source> fps</source>
        <translation> fps</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Breite:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>F&amp;rame rate:</source>
        <translation>Bild&amp;rate:</translation>
    </message>
    <message>
        <source>Enter a name for the project.</source>
        <translation>Geben Sie einen Namen für das Projekt ein.</translation>
    </message>
    <message>
        <source>A project name cannot contain any of these characters: / \ : * ? &quot; &lt; &gt; |</source>
        <translation>Ein Projektname darf keines dieser Zeichen enthalten: / \ : * ? &quot; &lt; &gt; |</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written to.</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>A project named %1 already exists in this folder.</source>
        <translation>In diesem Ordner gibt es bereits ein Projekt namens %1.</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Enter the full path of the folder for the project.</source>
        <translation>Geben Sie den vollständigen Pfad des Ordners für das Projekt ein.</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder.</source>
        <translation>%1 ist eine Datei, kein Ordner.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist yet; OK creates it.</source>
        <translation>Den Ordner %1 gibt es noch nicht; OK legt ihn an.</translation>
    </message>
</context>
<context>
    <name>Downloader</name>
    <message>
        <source>Updater</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Downloading Updates</source>
        <translation>Updates werden heruntergeladen</translation>
    </message>
    <message>
        <source>Time Remaining</source>
        <translation>Verbleibende Zeit</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Veldra</source>
        <translation>Veldra</translation>
    </message>
    <message>
        <source>Cannot find downloaded update!</source>
        <translation>Das heruntergeladene Update wurde nicht gefunden!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Download complete!</source>
        <translation>Download abgeschlossen!</translation>
    </message>
    <message>
        <source>The installer will open separately</source>
        <translation>Das Installationsprogramm wird separat geöffnet</translation>
    </message>
    <message>
        <source>In order to install the update, you need to quit the application.</source>
        <translation>Um das Update zu installieren, müssen Sie die Anwendung beenden.</translation>
    </message>
    <message>
        <source>Click &quot;OK&quot; to begin installing the update</source>
        <translation>Klicken Sie auf „OK“, um die Installation des Updates zu starten</translation>
    </message>
    <message>
        <source>Click the &quot;Open&quot; button to apply the update</source>
        <translation>Klicken Sie auf „Öffnen“, um das Update anzuwenden</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the download?</source>
        <translation>Möchten Sie den Download wirklich abbrechen?</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>of</source>
        <translation>von</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>About %1 hours</source>
        <translation>Etwa %1 Stunden</translation>
    </message>
    <message>
        <source>About %1 minutes</source>
        <translation>Etwa %1 Minuten</translation>
    </message>
    <message>
        <source>About 1 minute</source>
        <translation>Etwa 1 Minute</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>1 second</source>
        <translation>1 Sekunde</translation>
    </message>
    <message>
        <source>The downloaded update is damaged and was deleted.</source>
        <translation>Das heruntergeladene Update ist beschädigt und wurde gelöscht.</translation>
    </message>
    <message>
        <source>Cannot download update: %1</source>
        <translation>Das Update kann nicht heruntergeladen werden: %1</translation>
    </message>
    <message>
        <source>The download address is not a web address.</source>
        <translation>Die Download-Adresse ist keine Webadresse.</translation>
    </message>
    <message>
        <source>The update&apos;s checksum is not a valid SHA-256 digest.</source>
        <translation>Die Prüfsumme des Updates ist kein gültiger SHA-256-Wert.</translation>
    </message>
    <message>
        <source>The server redirected the download to an address that is not a web address.</source>
        <translation>Der Server hat den Download an eine Adresse umgeleitet, die keine Webadresse ist.</translation>
    </message>
    <message>
        <source>The update cannot be saved in the Downloads folder.</source>
        <translation>Das Update kann nicht im Download-Ordner gespeichert werden.</translation>
    </message>
    <message>
        <source>The connection timed out.</source>
        <translation>Die Verbindung hat zu lange nicht geantwortet.</translation>
    </message>
    <message>
        <source>The server answered %1.</source>
        <translation>Der Server antwortete: %1.</translation>
    </message>
    <message>
        <source>The server refused the connection.</source>
        <translation>Der Server hat die Verbindung abgelehnt.</translation>
    </message>
    <message>
        <source>The server closed the connection before the download was complete.</source>
        <translation>Der Server hat die Verbindung beendet, bevor der Download vollständig war.</translation>
    </message>
    <message>
        <source>The server could not be found.</source>
        <translation>Der Server wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>A secure connection to the server could not be established.</source>
        <translation>Es konnte keine sichere Verbindung zum Server aufgebaut werden.</translation>
    </message>
    <message>
        <source>The server redirected the download too many times.</source>
        <translation>Der Server hat den Download zu oft umgeleitet.</translation>
    </message>
    <message>
        <source>The download was cancelled.</source>
        <translation>Der Download wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The download failed because of a network error.</source>
        <translation>Der Download ist wegen eines Netzwerkfehlers fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The update is not signed, so it cannot be trusted.</source>
        <translation>Das Update ist nicht signiert, daher kann ihm nicht vertraut werden.</translation>
    </message>
    <message>
        <source>The update&apos;s signature is malformed, so it cannot be trusted.</source>
        <translation>Die Signatur des Updates ist fehlerhaft, daher kann ihm nicht vertraut werden.</translation>
    </message>
    <message>
        <source>The downloaded update is too large to check its signature, so it was deleted.</source>
        <translation>Das heruntergeladene Update ist zu groß, um seine Signatur zu prüfen, daher wurde es gelöscht.</translation>
    </message>
    <message>
        <source>The downloaded update could not be read to check its signature, so it was deleted.</source>
        <translation>Das heruntergeladene Update konnte zur Prüfung seiner Signatur nicht gelesen werden, daher wurde es gelöscht.</translation>
    </message>
    <message>
        <source>The downloaded update is not signed by the publisher of Veldra, so it was deleted.</source>
        <translation>Das heruntergeladene Update ist nicht vom Herausgeber von Veldra signiert, daher wurde es gelöscht.</translation>
    </message>
</context>
<context>
    <name>EditCommands</name>
    <message>
        <source>Undo the last change</source>
        <translation>Die letzte Änderung rückgängig machen</translation>
    </message>
    <message>
        <source>Redo the last undone change</source>
        <translation>Die zuletzt rückgängig gemachte Änderung wiederherstellen</translation>
    </message>
</context>
<context>
    <name>EditElementCommand</name>
    <message>
        <source>Edit Text</source>
        <translation>Text bearbeiten</translation>
    </message>
</context>
<context>
    <name>ElementPropertiesPanel</name>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Colour:</source>
        <translation>Farbe:</translation>
    </message>
    <message>
        <source>Font size:</source>
        <translation>Schriftgröße:</translation>
    </message>
    <message>
        <source>Entrance:</source>
        <translation>Auftritt:</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ohne</translation>
    </message>
    <message>
        <source>Fade</source>
        <translation>Einblenden</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoomen</translation>
    </message>
    <message>
        <source>Slide in from the right</source>
        <translation>Von rechts hereingleiten</translation>
    </message>
    <message>
        <source>Slide in from below</source>
        <translation>Von unten hereingleiten</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
</context>
<context>
    <name>ExtensionSystem::PluginManager</name>
    <message>
        <source>Another plug-in named &quot;%1&quot; was found first (%2).</source>
        <translation>Ein anderes Plug-in namens „%1“ wurde zuerst gefunden (%2).</translation>
    </message>
    <message>
        <source>It depends on &quot;%1&quot;, which was not found.</source>
        <translation>Es hängt von „%1“ ab, das nicht gefunden wurde.</translation>
    </message>
    <message>
        <source>Its dependency on &quot;%1&quot; is circular.</source>
        <translation>Seine Abhängigkeit von „%1“ ist zirkulär.</translation>
    </message>
    <message>
        <source>It depends on &quot;%1&quot;, which failed.</source>
        <translation>Es hängt von „%1“ ab, das fehlgeschlagen ist.</translation>
    </message>
    <message>
        <source>Plug-in %1 failed: %2</source>
        <translation>Das Plug-in %1 ist fehlgeschlagen: %2</translation>
    </message>
</context>
<context>
    <name>ExtensionSystem::PluginSpec</name>
    <message>
        <source>Cannot load the library: %1</source>
        <translation>Die Bibliothek kann nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>The library did not create a plug-in object: %1</source>
        <translation>Die Bibliothek hat kein Plug-in-Objekt erzeugt: %1</translation>
    </message>
    <message>
        <source>The plug-in object (%1) does not derive from ExtensionSystem::IPlugin.</source>
        <translation>Das Plug-in-Objekt (%1) ist nicht von ExtensionSystem::IPlugin abgeleitet.</translation>
    </message>
    <message>
        <source>The plug-in object was deleted before it was initialized.</source>
        <translation>Das Plug-in-Objekt wurde gelöscht, bevor es initialisiert wurde.</translation>
    </message>
    <message>
        <source>Initialization failed without giving a reason.</source>
        <translation>Die Initialisierung ist ohne Angabe eines Grundes fehlgeschlagen.</translation>
    </message>
</context>
<context>
    <name>GeneralOptionsPage</name>
    <message>
        <source>Back up open projects automatically</source>
        <translation>Geöffnete Projekte automatisch sichern</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Backup interval:</source>
        <translation>Sicherungsintervall:</translation>
    </message>
    <message>
        <source>Check for updates automatically</source>
        <translation>Automatisch nach Updates suchen</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>This installation has no update address, so it cannot check for updates.</source>
        <translation>Diese Installation hat keine Update-Adresse, daher kann sie nicht nach Updates suchen.</translation>
    </message>
</context>
<context>
    <name>HelpCommands</name>
    <message>
        <source>&lt;h3&gt;Veldra %1&lt;/h3&gt;&lt;p&gt;Authoring of projects made of scenes, previewed in the web browser and exported to HTML5.&lt;/p&gt;&lt;p&gt;Copyright (C) 2026 KORVAN&lt;/p&gt;&lt;p&gt;Veldra is licensed under the GNU Lesser General Public License, version 3.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Veldra %1&lt;/h3&gt;&lt;p&gt;Erstellung von Projekten aus Szenen, mit Vorschau im Webbrowser und Export nach HTML5.&lt;/p&gt;&lt;p&gt;Copyright (C) 2026 KORVAN&lt;/p&gt;&lt;p&gt;Veldra steht unter der GNU Lesser General Public License, Version 3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>The update address &quot;%1&quot; is not an http or https address, so nothing was checked.</source>
        <translation>Die Update-Adresse „%1“ ist keine http- oder https-Adresse, daher wurde nichts geprüft.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1.</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um %1 zu öffnen.</translation>
    </message>
    <message>
        <source>This installation of Veldra does not know where to look for updates, so nothing was checked. Your administrator or the publisher of your copy can tell you how to get new versions.</source>
        <translation>Diese Veldra-Installation weiß nicht, wo sie nach Updates suchen soll, daher wurde nichts geprüft. Ihr Administrator oder der Herausgeber Ihrer Kopie kann Ihnen sagen, wie Sie neue Versionen erhalten.</translation>
    </message>
</context>
<context>
    <name>HostApplication</name>
    <message>
        <source>Veldra cannot start: the core plug-in could not be loaded.</source>
        <translation>Veldra kann nicht starten: Das Kern-Plug-in konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>No core plug-in was found in %1.</source>
        <translation>In %1 wurde kein Kern-Plug-in gefunden.</translation>
    </message>
    <message>
        <source>Some plug-ins could not be loaded:</source>
        <translation>Einige Plug-ins konnten nicht geladen werden:</translation>
    </message>
</context>
<context>
    <name>Html5Exporter</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The project has no scene %1.</source>
        <translation>Das Projekt hat keine Szene %1.</translation>
    </message>
    <message>
        <source>No folder was given for the export.</source>
        <translation>Für den Export wurde kein Ordner angegeben.</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>Der Ordner %1 kann nicht erstellt werden.</translation>
    </message>
</context>
<context>
    <name>IDocument</name>
    <message>
        <source>Veldra</source>
        <translation>Veldra</translation>
    </message>
    <message>
        <source>Save changes made to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Could not save project %1</source>
        <translation>Das Projekt %1 konnte nicht gespeichert werden</translation>
    </message>
</context>
<context>
    <name>IMainMdiArea</name>
    <message>
        <source>The project [%1] no longer exists.
Remove this entry from history?</source>
        <translation>Das Projekt [%1] existiert nicht mehr.
Diesen Eintrag aus dem Verlauf entfernen?</translation>
    </message>
    <message>
        <source>Could not open file %1.</source>
        <translation>Die Datei %1 konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t find the requested file.</source>
        <translation>Die angeforderte Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>No file manager is available to show the folder %1.</source>
        <translation>Es ist kein Dateimanager verfügbar, der den Ordner %1 anzeigen könnte.</translation>
    </message>
</context>
<context>
    <name>IMainMenuWidget</name>
    <message>
        <source>Sign In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Restore Down</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>JsonFieldReader</name>
    <message>
        <source>&quot;%1&quot; is missing.</source>
        <translation>&quot;%1&quot; fehlt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a whole number from %2 to %3.</source>
        <translation>&quot;%1&quot; muss eine ganze Zahl von %2 bis %3 sein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a number from %2 to %3.</source>
        <translation>&quot;%1&quot; muss eine Zahl von %2 bis %3 sein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a text of at most %2 characters.</source>
        <translation>&quot;%1&quot; muss ein Text mit höchstens %2 Zeichen sein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a colour such as &quot;#ff8800&quot;.</source>
        <translation>&quot;%1&quot; muss eine Farbe wie &quot;#ff8800&quot; sein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a list.</source>
        <translation>&quot;%1&quot; muss eine Liste sein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has more than %2 entries.</source>
        <translation>&quot;%1&quot; hat mehr als %2 Einträge.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be an object.</source>
        <translation>&quot;%1&quot; muss ein Objekt sein.</translation>
    </message>
</context>
<context>
    <name>KeyboardOptionsPage</name>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Reset All</source>
        <translation>Alle zurücksetzen</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Shortcut:</source>
        <translation>Tastenkürzel:</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; share the shortcut %3.</source>
        <translation>„%1“ und „%2“ verwenden dasselbe Tastenkürzel %3.</translation>
    </message>
    <message>
        <source>Filter by command, menu or shortcut</source>
        <translation>Nach Befehl, Menü oder Tastenkürzel filtern</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Create a new project</source>
        <translation>Ein neues Projekt erstellen</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>Projekt ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open an existing project</source>
        <translation>Ein vorhandenes Projekt öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save current project</source>
        <translation>Das aktuelle Projekt speichern</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Other Project</source>
        <translation>Anderes Projekt</translation>
    </message>
    <message>
        <source>Save the current project as a new one</source>
        <translation>Das aktuelle Projekt als neues Projekt speichern</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Close current project</source>
        <translation>Das aktuelle Projekt schließen</translation>
    </message>
    <message>
        <source>Preview Current Scene In Browser</source>
        <translation>Vorschau der aktuellen Szene im Browser</translation>
    </message>
    <message>
        <source>Preview Project In Browser</source>
        <translation>Vorschau des Projekts im Browser</translation>
    </message>
    <message>
        <source>Export to HTML5</source>
        <translation>Als HTML5 exportieren</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Das Programm beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>User Community</source>
        <translation>Benutzer-Community</translation>
    </message>
    <message>
        <source>Check Updates...</source>
        <translation>Nach Updates suchen...</translation>
    </message>
    <message>
        <source>My Account</source>
        <translation>Mein Konto</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The changed language will take effect from next run.</source>
        <translation>Die geänderte Sprache wird beim nächsten Start wirksam.</translation>
    </message>
    <message>
        <source>Failed to change language.</source>
        <translation>Die Sprache konnte nicht geändert werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t open help file.</source>
        <translation>Die Hilfedatei konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Help document is missing.</source>
        <translation>Das Hilfedokument fehlt.</translation>
    </message>
    <message>
        <source>Cannot open this file type</source>
        <translation>Dieser Dateityp kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Recent Projects</source>
        <translation>Zuletzt verwendete Projekte</translation>
    </message>
    <message>
        <source>The project %1 no longer exist.
Do you want remove this entry from history?</source>
        <translation>Das Projekt %1 existiert nicht mehr.
Möchten Sie diesen Eintrag aus dem Verlauf entfernen?</translation>
    </message>
    <message>
        <source>Cannot open %1: it is not a regular file.</source>
        <translation>%1 kann nicht geöffnet werden: Es ist keine normale Datei.</translation>
    </message>
    <message>
        <source>Command Palette...</source>
        <translation>Befehlspalette...</translation>
    </message>
    <message>
        <source>Find a command by its name and run it</source>
        <translation>Einen Befehl über seinen Namen finden und ausführen</translation>
    </message>
</context>
<context>
    <name>MoveElementCommand</name>
    <message>
        <source>Move Text</source>
        <translation>Text verschieben</translation>
    </message>
</context>
<context>
    <name>MoveSceneCommand</name>
    <message>
        <source>Move Scene</source>
        <translation>Szene verschieben</translation>
    </message>
</context>
<context>
    <name>ProjectCommands</name>
    <message>
        <source>Open or create a project first.</source>
        <translation>Öffnen oder erstellen Sie zuerst ein Projekt.</translation>
    </message>
    <message>
        <source>Export to HTML5</source>
        <translation>Als HTML5 exportieren</translation>
    </message>
    <message>
        <source>%1 holds a web page that was not exported from Veldra. Replace its index.html and style.css?</source>
        <translation>%1 enthält eine Webseite, die nicht aus Veldra exportiert wurde. Die Dateien index.html und style.css darin ersetzen?</translation>
    </message>
    <message>
        <source>The project was exported to %1.</source>
        <translation>Das Projekt wurde nach %1 exportiert.</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>Im Browser öffnen</translation>
    </message>
</context>
<context>
    <name>ProjectFormat</name>
    <message>
        <source>It is not a Veldra project: &quot;format&quot; is not &quot;%1&quot;.</source>
        <translation>Dies ist kein Veldra-Projekt: &quot;format&quot; ist nicht &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>It was made by a newer version of Veldra (file format %1; this version reads up to %2).</source>
        <translation>Die Datei wurde mit einer neueren Version von Veldra erstellt (Dateiformat %1; diese Version liest bis %2).</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB.</source>
        <translation>Die Datei ist größer als %1 MiB.</translation>
    </message>
    <message>
        <source>It is not a project file: it holds a JSON list, not an object.</source>
        <translation>Dies ist keine Projektdatei: Der Inhalt ist eine JSON-Liste, kein Objekt.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1.</source>
        <translation>Die Datei kann nicht gelesen werden: %1.</translation>
    </message>
    <message>
        <source>the entrance &quot;%1&quot; is not known.</source>
        <translation>der Auftritt &quot;%1&quot; ist unbekannt.</translation>
    </message>
    <message>
        <source>scene %1, element %2</source>
        <translation>Szene %1, Element %2</translation>
    </message>
    <message>
        <source>an element must be an object.</source>
        <translation>ein Element muss ein Objekt sein.</translation>
    </message>
    <message>
        <source>the element type &quot;%1&quot; is not known.</source>
        <translation>der Elementtyp &quot;%1&quot; ist unbekannt.</translation>
    </message>
    <message>
        <source>, entrance</source>
        <translation>, Auftritt</translation>
    </message>
    <message>
        <source>scene %1</source>
        <translation>Szene %1</translation>
    </message>
    <message>
        <source>a scene must be an object.</source>
        <translation>eine Szene muss ein Objekt sein.</translation>
    </message>
    <message>
        <source>stage</source>
        <translation>Bühne</translation>
    </message>
    <message>
        <source>The packed data is cut short.</source>
        <translation>Die gepackten Daten sind unvollständig.</translation>
    </message>
    <message>
        <source>The packed data claims to unpack to %1 MiB, more than the limit of %2 MiB.</source>
        <translation>Die gepackten Daten geben eine entpackte Größe von %1 MiB an, mehr als die Obergrenze von %2 MiB.</translation>
    </message>
    <message>
        <source>The packed data unpacks to more than it claims.</source>
        <translation>Die gepackten Daten ergeben entpackt mehr als angegeben.</translation>
    </message>
    <message>
        <source>There is not enough memory to unpack the file.</source>
        <translation>Zum Entpacken der Datei ist nicht genügend Arbeitsspeicher vorhanden.</translation>
    </message>
    <message>
        <source>The packed data is damaged or cut short.</source>
        <translation>Die gepackten Daten sind beschädigt oder unvollständig.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Es ist keine normale Datei.</translation>
    </message>
    <message>
        <source>A group of values is not closed with &quot;}&quot;.</source>
        <translation>Eine Gruppe von Werten wird nicht mit &quot;}&quot; geschlossen.</translation>
    </message>
    <message>
        <source>A &quot;:&quot; is missing after a name.</source>
        <translation>Nach einem Namen fehlt ein &quot;:&quot;.</translation>
    </message>
    <message>
        <source>A list is not closed with &quot;]&quot;.</source>
        <translation>Eine Liste wird nicht mit &quot;]&quot; geschlossen.</translation>
    </message>
    <message>
        <source>A &quot;,&quot; is missing between two values.</source>
        <translation>Zwischen zwei Werten fehlt ein &quot;,&quot;.</translation>
    </message>
    <message>
        <source>A number is not written correctly.</source>
        <translation>Eine Zahl ist nicht richtig geschrieben.</translation>
    </message>
    <message>
        <source>A text holds a backslash that starts no known sequence.</source>
        <translation>Ein Text enthält einen umgekehrten Schrägstrich, der keine bekannte Folge einleitet.</translation>
    </message>
    <message>
        <source>A text holds characters that are not valid UTF-8.</source>
        <translation>Ein Text enthält Zeichen, die kein gültiges UTF-8 sind.</translation>
    </message>
    <message>
        <source>A text is not closed.</source>
        <translation>Ein Text ist nicht geschlossen.</translation>
    </message>
    <message>
        <source>It does not begin with &quot;{&quot;.</source>
        <translation>Sie beginnt nicht mit &quot;{&quot;.</translation>
    </message>
    <message>
        <source>Values are nested too deeply.</source>
        <translation>Werte sind zu tief verschachtelt.</translation>
    </message>
    <message>
        <source>Something follows the end of the project.</source>
        <translation>Nach dem Ende des Projekts folgt noch etwas.</translation>
    </message>
    <message>
        <source>Something other than a value was found.</source>
        <translation>Statt eines Wertes wurde etwas anderes gefunden.</translation>
    </message>
    <message>
        <source>Its text is damaged at line %1, column %2. %3</source>
        <translation>Ihr Text ist in Zeile %1, Spalte %2 beschädigt. %3</translation>
    </message>
    <message>
        <source>The file is cut short.</source>
        <translation>Die Datei ist abgeschnitten.</translation>
    </message>
</context>
<context>
    <name>RemoveElementCommand</name>
    <message>
        <source>Delete Text</source>
        <translation>Text löschen</translation>
    </message>
</context>
<context>
    <name>RemoveSceneCommand</name>
    <message>
        <source>Remove Scene</source>
        <translation>Szene entfernen</translation>
    </message>
</context>
<context>
    <name>SceneDocument</name>
    <message>
        <source>Rename Scene</source>
        <translation>Szene umbenennen</translation>
    </message>
    <message>
        <source>Change Scene</source>
        <translation>Szene ändern</translation>
    </message>
    <message>
        <source>Veldra</source>
        <translation>Veldra</translation>
    </message>
    <message>
        <source>Cannot recover a project from the backup %1.

%2</source>
        <translation>Aus der Sicherung %1 kann kein Projekt wiederhergestellt werden.

%2</translation>
    </message>
    <message>
        <source>Scene 1</source>
        <translation>Szene 1</translation>
    </message>
    <message>
        <source>Save Project As</source>
        <translation>Projekt speichern unter</translation>
    </message>
    <message>
        <source>Cannot save the project %1.

%2</source>
        <translation>Das Projekt %1 kann nicht gespeichert werden.

%2</translation>
    </message>
    <message>
        <source>Cannot open the project %1.

%2</source>
        <translation>Das Projekt %1 kann nicht geöffnet werden.

%2</translation>
    </message>
    <message>
        <source>The backup does not name the project it was made from.</source>
        <translation>Die Sicherung nennt das Projekt nicht, aus dem sie erstellt wurde.</translation>
    </message>
    <message>
        <source>Keep Texts on Stage</source>
        <translation>Texte auf der Bühne halten</translation>
    </message>
</context>
<context>
    <name>SceneDocumentFactory</name>
    <message>
        <source>Veldra projects (*.veldra *.veldrapack)</source>
        <translation>Veldra-Projekte (*.veldra *.veldrapack)</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Projekt öffnen</translation>
    </message>
</context>
<context>
    <name>SceneEditorCommands</name>
    <message>
        <source>Add Scene</source>
        <translation>Szene hinzufügen</translation>
    </message>
    <message>
        <source>Add a scene after the current one</source>
        <translation>Eine Szene nach der aktuellen hinzufügen</translation>
    </message>
    <message>
        <source>Remove Scene</source>
        <translation>Szene entfernen</translation>
    </message>
    <message>
        <source>Remove the current scene</source>
        <translation>Die aktuelle Szene entfernen</translation>
    </message>
    <message>
        <source>Rename Scene</source>
        <translation>Szene umbenennen</translation>
    </message>
    <message>
        <source>Rename the current scene</source>
        <translation>Die aktuelle Szene umbenennen</translation>
    </message>
    <message>
        <source>Move Scene Up</source>
        <translation>Szene nach oben verschieben</translation>
    </message>
    <message>
        <source>Play the current scene one earlier</source>
        <translation>Die aktuelle Szene eine Stelle früher abspielen</translation>
    </message>
    <message>
        <source>Move Scene Down</source>
        <translation>Szene nach unten verschieben</translation>
    </message>
    <message>
        <source>Play the current scene one later</source>
        <translation>Die aktuelle Szene eine Stelle später abspielen</translation>
    </message>
    <message>
        <source>Add Text</source>
        <translation>Text hinzufügen</translation>
    </message>
    <message>
        <source>Add a text to the current scene</source>
        <translation>Der aktuellen Szene einen Text hinzufügen</translation>
    </message>
    <message>
        <source>Delete Text</source>
        <translation>Text löschen</translation>
    </message>
    <message>
        <source>Delete the selected texts</source>
        <translation>Die ausgewählten Texte löschen</translation>
    </message>
</context>
<context>
    <name>SceneEditorWidget</name>
    <message>
        <source>Add Text</source>
        <translation>Text hinzufügen</translation>
    </message>
    <message>
        <source>Preview Current Scene In Browser</source>
        <translation>Vorschau der aktuellen Szene im Browser</translation>
    </message>
    <message>
        <source>Scene Editor</source>
        <translation>Szeneneditor</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Szene %1</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Move Texts</source>
        <translation>Texte verschieben</translation>
    </message>
    <message>
        <source>Delete Texts</source>
        <translation>Texte löschen</translation>
    </message>
</context>
<context>
    <name>SceneListPanel</name>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Background:</source>
        <translation>Hintergrund:</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>Scenes</source>
        <translation>Szenen</translation>
    </message>
    <message>
        <source>Scene background</source>
        <translation>Szenenhintergrund</translation>
    </message>
    <message>
        <source>Scene duration</source>
        <translation>Szenendauer</translation>
    </message>
</context>
<context>
    <name>ScenesOptionsDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>StageView</name>
    <message>
        <source>Stage</source>
        <translation>Bühne</translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>Veldra</source>
        <translation>Veldra</translation>
    </message>
    <message>
        <source>Congratulations! You are running the latest version of %1</source>
        <translation>Glückwunsch! Sie verwenden die neueste Version von %1</translation>
    </message>
    <message>
        <source>No updates are available for the moment</source>
        <translation>Derzeit sind keine Updates verfügbar</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1 %2 has been released!&lt;/b&gt;</source>
        <translation>&lt;b&gt;%1 %2 wurde veröffentlicht!&lt;/b&gt;</translation>
    </message>
    <message>
        <source>The update&apos;s address is not a web address.</source>
        <translation>Die Adresse des Updates ist keine Webadresse.</translation>
    </message>
    <message>
        <source>You chose to skip this version.</source>
        <translation>Sie haben diese Version übersprungen.</translation>
    </message>
</context>
<context>
    <name>VDCommandPalette</name>
    <message>
        <source>Command Palette</source>
        <translation>Befehlspalette</translation>
    </message>
    <message>
        <source>Command to run</source>
        <translation>Auszuführender Befehl</translation>
    </message>
    <message>
        <source>Type the name of a command</source>
        <translation>Namen eines Befehls eingeben</translation>
    </message>
    <message>
        <source>Matching commands</source>
        <translation>Passende Befehle</translation>
    </message>
</context>
<context>
    <name>VDNotificationBar</name>
    <message>
        <source>Frame</source>
        <translation>Rahmen</translation>
    </message>
</context>
<context>
    <name>VDReleaseNoteDlg</name>
    <message>
        <source>&lt;h2&gt;Failed to load release notes.&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Die Versionshinweise konnten nicht geladen werden.&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Diese Version überspringen</translation>
    </message>
</context>
<context>
    <name>VDReleaseNoteUI</name>
    <message>
        <source>Update Available</source>
        <translation>Update verfügbar</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Veldra: an authoring application for scenes exported to HTML5.</source>
        <translation>Veldra: eine Autorenanwendung für Szenen, die nach HTML5 exportiert werden.</translation>
    </message>
    <message>
        <source>Projects to open.</source>
        <translation>Zu öffnende Projekte.</translation>
    </message>
</context>
</TS>
