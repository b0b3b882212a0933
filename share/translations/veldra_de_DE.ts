<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
</TS>
