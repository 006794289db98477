// The --help text of veltrin-export.

#include "export_commands.h"

namespace veltrin::tool {
namespace {

const char kHelp[] =
    "Aufruf: veltrin-export BEFEHL [OPTIONEN] ARGUMENTE\n"
    "        veltrin-export --help | --version\n"
    "\n"
    "Befehle:\n"
    "  list BASISVERZ\n"
    "      Liest jeden Start der Karte und gibt je Start eine Zeile aus:\n"
    "      Tag, Startzeit [- Landezeit] TAB Extremwerte TAB Datendatei.\n"
    "  csv DATENDATEI ZIELDATEI\n"
    "      Schreibt die Messwerte eines Starts. Endung .csv (gleich welche\n"
    "      Schreibweise): Semikolon, Kopfzeile, Dezimalkomma; sonst durch\n"
    "      Leerzeichen getrennt mit Dezimalpunkt.\n"
    "  kml [--extended] DATENDATEI ZIELDATEI\n"
    "      Schreibt die GPS-Spur eines Starts als KML: eine Linie, oder mit\n"
    "      --extended eine Spur mit Zeiten, Beschleunigung und Geschwindigkeit\n"
    "      (ab Google Earth 5.2).\n"
    "  gpx DATENDATEI ZIELDATEI\n"
    "      Schreibt die GPS-Spur eines Starts als GPX 1.1: jeden Punkt mit\n"
    "      gültiger Position, mit GPS-Höhe und Zeit (UTC).\n"
    "  all [--extended] [--gpx] [--limits=NEG,POS,VNE] BASISVERZ ZIELVERZ\n"
    "      Schreibt jeden Start der Karte als vlt_JJJJMMTT_hhmm.csv und .kml,\n"
    "      mit --gpx auch als .gpx (ein zweiter Start in derselben Minute\n"
    "      erhält _2, ein dritter _3 ...), und ein Flugbuch logbook.csv.\n"
    "      ZIELVERZ wird bei Bedarf angelegt; gleichnamige Dateien werden\n"
    "      ersetzt. Ein Start, dessen Datei nicht gelesen werden kann, wird\n"
    "      gemeldet und übersprungen. Mit --limits erhält das Flugbuch die\n"
    "      Spalte Exceedances.\n"
    "  events BASISVERZ|DATENDATEI [ZIELDATEI]\n"
    "      Schreibt die Ereignisliste jedes Starts der Karte oder der einen\n"
    "      Datendatei, in die ZIELDATEI oder auf die Standardausgabe.\n"
    "  exceedances --limits=NEG,POS,VNE BASISVERZ|DATENDATEI [ZIELDATEI]\n"
    "      Schreibt die Grenzwertüberschreitungen ebenso.\n"
    "\n"
    "DATENDATEI ist eine Datei .../Djjmmtt/Shhmmss[.ext] der Karte; ihr Startzeitpunkt\n"
    "(UTC) ergibt sich aus den Namen wie beim Laden des Basisverzeichnisses.\n"
    "\n"
    "--limits=NEG,POS,VNE: die Grenzwerte des Flugzeugs mit Dezimalpunkt, negative\n"
    "und positive Lastgrenze (g) und Geschwindigkeitsgrenze (km/h), zum Beispiel\n"
    "--limits=-3.5,5.5,250. NEG muss kleiner als POS und VNE größer als 0 sein.\n"
    "Überschritten ist eine Grenze erst bei einem Wert jenseits von ihr.\n"
    "\n"
    "Flugbuch logbook.csv (Semikolon, Dezimalkomma, Zeilenende CR LF), Spalten:\n"
    "  Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File\n"
    "  Datum TT.MM.JJJJ, Start- und Landezeit hh:mm:ss (UTC), Dauer h:mm:ss\n"
    "  (beide leer ohne Landung), kleinste und größte Vertikalbeschleunigung (g),\n"
    "  höchste Fahrt (km/h), größte Höhe (m), Zahl der Ereignismarken, Datendatei.\n"
    "  Mit --limits steht nach Events die Spalte Exceedances: die Zahl der\n"
    "  Grenzwertüberschreitungen des Starts.\n"
    "\n"
    "Ereignisliste (events; Semikolon, Dezimalkomma, Zeilenende CR LF), Spalten:\n"
    "  Date;Start;Event;Time;Duration;MinAccZ;MaxAccZ;MaxIAS;Altitude;File\n"
    "  Datum und Startzeit (UTC) des Starts, Nummer des Ereignisses im Start\n"
    "  (ab 1), Beginn (s ab dem ersten Messwert des Starts) und Dauer (s) des\n"
    "  Ereignisses, kleinste und größte Vertikalbeschleunigung (g), höchste\n"
    "  Fahrt (km/h), Höhe zu Beginn (m), Datendatei. Ein Ereignis umfasst die\n"
    "  Messwerte mit Ereignis-Flag, die höchstens 2 s auseinanderliegen.\n"
    "\n"
    "Grenzwertüberschreitungen (exceedances; ebenso geschrieben), Spalten:\n"
    "  Date;Start;Kind;Time;Duration;Peak;File\n"
    "  Datum und Startzeit (UTC) des Starts, Art (+g, -g oder IAS), Beginn (s)\n"
    "  und Dauer (s), Spitzenwert (g oder km/h), Datendatei; je Start nach\n"
    "  Beginn geordnet, bei gleichem Beginn +g vor -g vor IAS.\n"
    "\n"
    "Umgebungsvariablen (kml, all):\n"
    "  KML_LINEWIDTH   Linienbreite (Vorgabe 2)\n"
    "  KML_REMOVECNT   nur jeden n-ten Punkt der Linie schreiben (0: alle)\n"
    "\n"
    "Rückgabewert: 0 Erfolg, 1 eine Datei oder ein Verzeichnis konnte nicht gelesen\n"
    "oder geschrieben werden (gemeldet mit Grund), 2 falscher Aufruf oder\n"
    "Basisverzeichnis nicht vorhanden.\n";

}  // namespace

const char* HelpText()
{
    return kHelp;
}

}  // namespace veltrin::tool
