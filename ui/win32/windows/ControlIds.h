// The child window identifiers of the two windows, by control name: the windows give them, and
// the test probe finds the controls by them. The windows' classes are named after the windows.
#pragma once

#include <cstddef>
#include <string_view>

namespace orvel::win32 {

inline constexpr char kMainWindowClass[] = "frmConfigUtility";
inline constexpr char kFeaturesWindowClass[] = "frmFeatures";

// The nineteen selection boxes: kFirstBox plus the setting's row minus one.
constexpr int kFirstBox = 100;

struct ControlId {
    std::string_view name;
    int id;
};

inline constexpr ControlId kMainControls[] = {
    {"OptDomestic", 200},  {"OptExport", 201},        {"Label1", 300},     {"Label3", 301},
    {"Label2", 302},       {"imgApplySettings", 400}, {"imgDefault", 401}, {"imgSFeatures", 402},
    {"imgPFeatures", 403}, {"imgExit", 404},          {"Image1", 410},     {"Image2", 411},
    {"Picture1", 412},     {"imgWarning", 413},
};

inline constexpr ControlId kFeaturesControls[] = {
    {"imgPrintFeatures", 500}, {"imgClose", 501},    {"Image2", 510},
    {"Picture1", 511},         {"txtFeatures", 520},
};

template <size_t N>
constexpr int controlId(const ControlId (&table)[N], std::string_view name) {
    for (const ControlId& control : table) {
        if (control.name == name)
            return control.id;
    }
    return 0;
}

}  // namespace orvel::win32
