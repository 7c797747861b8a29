#include "settings/SettingsModel.h"

#include <algorithm>
#include <stdexcept>

namespace orvel {

namespace {

// Choice indices that the rules and presets test or set.
constexpr int kInterfaceParallel = 0;
constexpr int kInterfaceUsb = 2;
constexpr int kInterfaceAutoshare = 3;
constexpr int kCharTableIndianLanguage = 2;
constexpr int kRollPaperEnabled = 0;
constexpr int kPageLength11Inch = 8;
constexpr int kPageLength12Inch = 10;

bool inList(Setting setting, int choice) {
    return choice >= 0 && choice < static_cast<int>(settingInfo(setting).choices.size());
}

}  // namespace

SettingsModel::SettingsModel() {
    selected_.fill(kNoSelection);
    enabled_.fill(true);
}

std::string SettingsModel::choiceText(Setting setting) const {
    const int choice = selection(setting);
    return choice == kNoSelection ? std::string() : settingInfo(setting).choices[choice];
}

void SettingsModel::setSelection(Setting setting, int choice) {
    if (!inList(setting, choice)) {
        throw std::out_of_range("choice " + std::to_string(choice) + " is not in the list of " +
                                settingInfo(setting).box);
    }
    selected_[index(setting)] = choice;
    for (SettingsObserver* observer : observers_)
        observer->selectionSet(setting, choice);
    runRuleOf(setting);
}

bool SettingsModel::userSelect(Setting setting, int choice) {
    if (!isEnabled(setting) || !inList(setting, choice))
        return false;
    setSelection(setting, choice);
    return true;
}

void SettingsModel::selectModel(Model model) {
    if (model == Model::None)
        throw std::invalid_argument("an option button can only be selected");
    if (model == model_)
        return;
    model_ = model;
    for (SettingsObserver* observer : observers_)
        observer->modelSet(model);
    if (model == Model::OptDomestic) {
        OptDomestic_Click();
    } else {
        OptExport_Click();
    }
}

void SettingsModel::IntializeSelectionBoxes() {
    selectDefault(Setting::cboFont);
    selectDefault(Setting::cboTearOff);
    // The page length follows the model selected before this call; on the first run there is
    // none yet and the Domestic preset below supplies it.
    if (model_ == Model::OptDomestic) {
        setSelection(Setting::cboPageLength, kPageLength12Inch);
    } else if (model_ == Model::OptExport) {
        setSelection(Setting::cboPageLength, kPageLength11Inch);
    }
    selectDefault(Setting::cboInterface);
    selectDefault(Setting::cboBaudRate);
    selectDefault(Setting::cboParity);
    selectDefault(Setting::cboFlowCtrl);
    selectDefault(Setting::cboStrobeEdge);
    selectDefault(Setting::cboCharTable);
    // The three language boxes have just been disabled; they are set all the same.
    selectDefault(Setting::cboLanguage);
    selectDefault(Setting::cboLanStd);
    selectDefault(Setting::cboSpcComp);
    selectDefault(Setting::cboInputBS);
    selectDefault(Setting::cboSOP);
    selectDefault(Setting::cboPrintDir);
    selectDefault(Setting::cboSlaZero);
    selectDefault(Setting::cboLineSpc);
    selectDefault(Setting::cboALF);
    selectModel(Model::OptDomestic);
    selectDefault(Setting::cboRollPaper);
}

void SettingsModel::addObserver(SettingsObserver* observer) {
    observers_.push_back(observer);
}

void SettingsModel::removeObserver(SettingsObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void SettingsModel::cboInterface_Click() {
    const int choice = selection(Setting::cboInterface);
    const bool serialLine = !(choice == kInterfaceParallel || choice == kInterfaceUsb);
    setEnabled(Setting::cboParity, serialLine);
    setEnabled(Setting::cboBaudRate, serialLine);
    setEnabled(Setting::cboFlowCtrl, serialLine);
}

void SettingsModel::cboCharTable_Click() {
    const bool indian = selection(Setting::cboCharTable) >= kCharTableIndianLanguage;
    setEnabled(Setting::cboLanguage, indian);
    setEnabled(Setting::cboLanStd, indian);
    setEnabled(Setting::cboSpcComp, indian);
}

void SettingsModel::cboRollPaper_Click() {
    setEnabled(Setting::cboTearOff, selection(Setting::cboRollPaper) != kRollPaperEnabled);
}

void SettingsModel::OptDomestic_Click() {
    setSelection(Setting::cboPageLength, kPageLength12Inch);
    setSelection(Setting::cboInterface, kInterfaceAutoshare);
}

void SettingsModel::OptExport_Click() {
    setSelection(Setting::cboPageLength, kPageLength11Inch);
    setSelection(Setting::cboInterface, kInterfaceAutoshare);
}

void SettingsModel::selectDefault(Setting setting) {
    setSelection(setting, settingInfo(setting).defaultChoice);
}

void SettingsModel::setEnabled(Setting setting, bool enabled) {
    enabled_[index(setting)] = enabled;
    for (SettingsObserver* observer : observers_)
        observer->enabledSet(setting, enabled);
}

void SettingsModel::runRuleOf(Setting setting) {
    switch (setting) {
        case Setting::cboInterface:
            cboInterface_Click();
            break;
        case Setting::cboCharTable:
            cboCharTable_Click();
            break;
        case Setting::cboRollPaper:
            cboRollPaper_Click();
            break;
        default:
            break;  // the other sixteen boxes govern nothing
    }
}

}  // namespace orvel
