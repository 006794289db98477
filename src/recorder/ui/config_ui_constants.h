#pragma once
// Control ids, texts, input limits and times of the recorder configuration
// wizard, the drive selection and the event clearing, in one place.

#include <chrono>

namespace veltrin::config_ui {

// Control ids; each control carries its id as its object name.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdPortCombo = 1000;
inline constexpr int kIdPortStatus = 1004;
inline constexpr int kIdPassword = 1005;
inline constexpr int kIdNewPassword = 1006;
inline constexpr int kIdRepeatPassword = 1007;
inline constexpr int kIdClearEventsByLink = 1008;
inline constexpr int kIdRegistration = 1009;
inline constexpr int kIdClearEventsByCard = 1012;
inline constexpr int kIdDriveCombo = 1013;
inline constexpr int kIdEventsSerial = 1014;
inline constexpr int kIdEventsPassword = 1015;
inline constexpr int kIdEventsRepeat = 1016;
inline constexpr int kIdEventsText = 1017;
inline constexpr int kIdMaxSpeed = 1041;
inline constexpr int kIdMaxNegativeLoad = 1042;
inline constexpr int kIdMaxPositiveLoad = 1043;

// Longest texts the inputs take.
inline constexpr int kPasswordLength = 15;
inline constexpr int kNumberLength = 8;
inline constexpr int kRegistrationLength = 10;

// Detection is repeated this often while no recorder was found.
inline constexpr std::chrono::milliseconds kDetectInterval{1000};

// The port name that stands for the recorder's USB drive.
inline constexpr const char* kUsbEntry = "USB";

// Wizard.
inline constexpr const char* kWizardTitle = "Logger konfigurieren";
inline constexpr const char* kRecorderFound = "Logger gefunden, Ver. %1, S/N %2";
inline constexpr const char* kNoRecorder = "Kein Logger entdeckt";
inline constexpr const char* kPasswordsDiffer =
    "Die eingegebenen Passwörter sind unterschiedlich!.";
// Limit fields that cannot be sent; %1 is the field's label.
inline constexpr const char* kLimitNotANumber = "Bitte bei „%1“ eine Zahl eingeben.";
inline constexpr const char* kLimitNotBelowZero = "Der Wert bei „%1“ muss kleiner als 0 sein.";
inline constexpr const char* kLimitNotAboveZero = "Der Wert bei „%1“ muss größer als 0 sein.";
inline constexpr const char* kLinkLost =
    "Keine Verbindung zum Logger.\nDie Einstellungen wurden nicht übertragen.";
inline constexpr const char* kClearByCardButton = "Alarm über SD Karte löschen";
inline constexpr const char* kClearByLinkButton = "Überlastungen löschen";

// Drive selection.
inline constexpr const char* kDriveTitle = "Laufwerk wählen";
inline constexpr const char* kDrivePrompt =
    "Bitte das Laufwerk mit der Veltrin SD-Karte auswählen:";
inline constexpr const char* kNoCard = "No SD-Card found";
inline constexpr const char* kCancel = "Abbrechen";

// Event clearing.
inline constexpr const char* kConfirmClear =
    "Wirklich alle Einträge löschen?\n\nSie sollten sie vorher gesichert haben !!.";
inline constexpr const char* kNoEventFiles =
    "Keine Eventdateien gefunden.\nIst das eine Veltrin SD-Karte?";
inline constexpr const char* kNoEvents = "Keine Events gefunden.";
inline constexpr const char* kEventsTitle = "Events löschen";
inline constexpr const char* kEventsPrompt =
    "Zum Löschen der Events bitte Seriennummer und Passwort eingeben";
inline constexpr const char* kEventsPasswordsDiffer =
    "Die eingegebenen Passwörter sind unterschiedlich!";
inline constexpr const char* kCommandFileWritten = "Konfigurationsdatei erfolgreich geschrieben!";
inline constexpr const char* kCommandFileFailed =
    "Konfigurationsdatei konnte nicht geschrieben werden (Schreibschutz?)";

}  // namespace veltrin::config_ui
