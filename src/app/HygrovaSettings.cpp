// The user settings of the main window: section "Settings" of the program key, read once when the
// window is created and written once when it closes, with the window's placement.

#include "app/HygrovaDefaults.h"
#include "app/THygrovaDlg.h"
#include "platform/FormPlacement.h"
#include "platform/RegistryIniFile.h"
#include "platform/TPrintPreview.h"
#include "psychro/Format.h"
#include "units/TxFmtEdit.h"

#include <QAction>

namespace {

const std::string Section = "Settings";

} // namespace

void THygrovaDlg::LoadUserSettings() {
    RestoreFormPlacement(this, false, true);
    const TRegistryIniFile store(ProgramRegistryKey());

    ImperialUnits1->setChecked(store.ReadBool(Section, "ImperialUnits", ImperialUnits1->isChecked()));
    ApplyUnitSystem();
    edPa->SetUnitsValue(store.ReadInteger(Section, "PressureUnits", edPa->UnitsValue()));
    edTlo->SetUnitsValue(store.ReadInteger(Section, "TemperatureUnits", edTlo->UnitsValue()));
    edThi->SetUnitsValue(edTlo->UnitsValue());
    edWlo->SetUnitsValue(store.ReadInteger(Section, "HumidityUnits", edWlo->UnitsValue()));
    edWhi->SetUnitsValue(edWlo->UnitsValue());
    FEnthalpyUnits = store.ReadInteger(Section, "EnthalpyUnits", FEnthalpyUnits);
    FVolumeUnits = store.ReadInteger(Section, "VolumeUnits", FVolumeUnits);
    FImperialUnits = store.ReadBool(Section, "ToolImperial", FImperialUnits);

    PrintPreview->SetZoomState(
        ZoomStateOr(store.ReadInteger(Section, "ZoomState", zsZoomToFit), zsZoomToFit));
    PrintPreview->SetOrientation(
        OrientationOr(store.ReadInteger(Section, "Orientation", poLandscape), poLandscape));

    // A range the program cannot read back must not keep it from starting.
    TChartRange range = DefaultRange;
    try {
        range = UsableRange(ReadRangeText(store.ReadString(Section, "Range", DefaultRangeText)));
    } catch (const EConvertError&) {
    }
    SetRange(range);

    SetColor(
        static_cast<TColor>(store.ReadInteger(Section, "Background", static_cast<int>(DefaultBackground))));
    FColorDialog.SetCustomColorsText(QString::fromStdString(
        store.ReadString(Section, "CustomColors", FColorDialog.CustomColorsText().toStdString())));

    dHdWtool1->setChecked(store.ReadBool(Section, "dHdWTool", true));
    SHRScale1->setChecked(store.ReadBool(Section, "SHRScale", true));
    ProcessLabels1->setChecked(store.ReadBool(Section, "ProcessLabels", false));

    edPa->SetValue(UsablePressure(store.ReadFloat(Section, "BarometricPressure", DefaultPressure)));
}

void THygrovaDlg::SaveUserSettings() {
    SaveFormPlacement(this);
    TRegistryIniFile store(ProgramRegistryKey());
    store.WriteBool(Section, "ImperialUnits", ImperialUnits1->isChecked());
    store.WriteInteger(Section, "PressureUnits", edPa->UnitsValue());
    store.WriteInteger(Section, "TemperatureUnits", edTlo->UnitsValue());
    store.WriteInteger(Section, "HumidityUnits", edWlo->UnitsValue());
    store.WriteInteger(Section, "EnthalpyUnits", FEnthalpyUnits);
    store.WriteInteger(Section, "VolumeUnits", FVolumeUnits);
    store.WriteBool(Section, "ToolImperial", FImperialUnits);
    store.WriteInteger(Section, "ZoomState", PrintPreview->ZoomState());
    store.WriteInteger(Section, "Orientation", PrintPreview->Orientation());
    store.WriteString(Section, "Range", FormatRange(FRange));
    store.WriteInteger(Section, "Background", static_cast<int>(FColor));
    store.WriteString(Section, "CustomColors", FColorDialog.CustomColorsText().toStdString());
    store.WriteBool(Section, "dHdWTool", dHdWtool1->isChecked());
    store.WriteBool(Section, "SHRScale", SHRScale1->isChecked());
    store.WriteBool(Section, "ProcessLabels", ProcessLabels1->isChecked());
    store.WriteFloat(Section, "BarometricPressure", ValueAsDouble(edPa->Value()));
}
