// The chart data file (.pst): section "UserFile" of an INI text file holding the chart set-up.
// Other sections and keys of the file are left as they are.

#include "app/HygrovaApplication.h"
#include "app/HygrovaDefaults.h"
#include "app/THygrovaDlg.h"
#include "platform/IniFiles.h"
#include "platform/TPrintPreview.h"
#include "units/TxFmtEdit.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QLocale>

#include <memory>

namespace {

const std::string Section = "UserFile";
const QString DataFileFilter = QStringLiteral("Hygrova Data File (*.pst)");

// The date of saving, in the user's short date format, without a time of day.
std::string SavingDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

} // namespace

void THygrovaDlg::ReadDataFile() {
    const TMemIniFile ini(DataFileName.toStdString());

    ImperialUnits1->setChecked(ini.ReadBool(Section, "ImperialUnits", ImperialUnits1->isChecked()));
    ApplyUnitSystem();
    edPa->SetUnitsValue(ini.ReadInteger(Section, "PressureUnits", edPa->UnitsValue()));
    edTlo->SetUnitsValue(ini.ReadInteger(Section, "TemperatureUnits", edTlo->UnitsValue()));
    edThi->SetUnitsValue(edTlo->UnitsValue());
    edWlo->SetUnitsValue(ini.ReadInteger(Section, "HumidityUnits", edWlo->UnitsValue()));
    edWhi->SetUnitsValue(edWlo->UnitsValue());

    PrintPreview->SetZoomState(ZoomStateOr(ini.ReadInteger(Section, "ZoomState", zsZoomToFit), zsZoomToFit));
    PrintPreview->SetOrientation(
        OrientationOr(ini.ReadInteger(Section, "Orientation", poLandscape), poLandscape));

    // An unreadable number stops the load here; what was applied before stays.
    SetRange(UsableRange(ReadRangeText(ini.ReadString(Section, "Range", DefaultRangeText))));

    SetColor(
        static_cast<TColor>(ini.ReadInteger(Section, "Background", static_cast<int>(DefaultBackground))));
    dHdWtool1->setChecked(ini.ReadBool(Section, "dHdWTool", true));
    SHRScale1->setChecked(ini.ReadBool(Section, "SHRScale", true));
    ProcessLabels1->setChecked(ini.ReadBool(Section, "ProcessLabels", false));
    edPa->SetValue(UsablePressure(ini.ReadFloat(Section, "BarometricPressure", DefaultPressure)));
}

void THygrovaDlg::WriteDataFile() {
    // The file as it is, so that everything this program does not write is kept. A file that cannot
    // even be read (a folder, no permission) cannot be written either.
    std::unique_ptr<TMemIniFile> opened;
    try {
        opened = std::make_unique<TMemIniFile>(DataFileName.toStdString());
    } catch (const EIniFileException&) {
        throw EIniFileException("Unable to write to " + DataFileName.toStdString());
    }
    TMemIniFile& ini = *opened;
    ini.WriteString(Section, "FileName", DataFileName.toStdString());
    ini.WriteString(Section, "DateTime", SavingDate());
    ini.WriteBool(Section, "ImperialUnits", ImperialUnits1->isChecked());
    ini.WriteInteger(Section, "PressureUnits", edPa->UnitsValue());
    ini.WriteInteger(Section, "TemperatureUnits", edTlo->UnitsValue());
    ini.WriteInteger(Section, "HumidityUnits", edWlo->UnitsValue());
    ini.WriteInteger(Section, "ZoomState", PrintPreview->ZoomState());
    ini.WriteInteger(Section, "Orientation", PrintPreview->Orientation());
    ini.WriteString(Section, "Range", FormatRange(FRange));
    ini.WriteInteger(Section, "Background", static_cast<int>(FColor));
    ini.WriteBool(Section, "dHdWTool", dHdWtool1->isChecked());
    ini.WriteBool(Section, "SHRScale", SHRScale1->isChecked());
    ini.WriteBool(Section, "ProcessLabels", ProcessLabels1->isChecked());
    ini.WriteFloat(Section, "BarometricPressure", ValueAsDouble(edPa->Value()));
    ini.UpdateFile();
}

TFileDialogRequest THygrovaDlg::DataFileRequest(const QString& title) const {
    return TFileDialogRequest{title, DataFileName, QFileInfo(DataFileName).absolutePath(), DataFileFilter,
                              QStringLiteral("pst")};
}

void THygrovaDlg::SetBusyCaption(const QString& text) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(ApplicationTitle() + text);
}

void THygrovaDlg::EndBusyCaption() {
    setWindowTitle(ApplicationTitle());
    QApplication::restoreOverrideCursor();
}

void THygrovaDlg::LoadButtonClick() {
    const QString chosen = OpenDialog(this, DataFileRequest(QStringLiteral("Load from File")));
    if (chosen.isEmpty()) return;
    SetBusyCaption(QStringLiteral(" - Loading Hygrova Data File..."));
    try {
        DataFileName = chosen;
        ReadDataFile();
        Redraw();
    } catch (...) {
        EndBusyCaption();
        throw;
    }
    EndBusyCaption();
}

void THygrovaDlg::SaveButtonClick() {
    // A value still being typed is saved as the field takes it over.
    CommitActiveEdit();
    const QString chosen = SaveDialog(this, DataFileRequest(QStringLiteral("Save to File")));
    if (chosen.isEmpty()) return;
    SetBusyCaption(QStringLiteral(" - Saving Hygrova Data File..."));
    try {
        DataFileName = chosen;
        WriteDataFile();
    } catch (...) {
        EndBusyCaption();
        throw;
    }
    EndBusyCaption();
}
