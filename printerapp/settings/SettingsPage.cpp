#include "printerapp/settings/SettingsPage.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "printer/job/Messages.h"
#include "printerapp/server/AppContext.h"
#include "printerapp/settings/SettingsService.h"
#include "printerapp/settings/VendorAttributes.h"

namespace orvel::printerapp {
namespace {

constexpr char kPageTitle[] = "Permanent Settings";
constexpr char kDomestic[] = "domestic";
constexpr char kExport[] = "export";

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '<')
            out += "\\u003c";
        else
            out += c;
    }
    return out + "\"";
}

// Records the selections that a model's preset makes, so that the page's script applies the
// very presets of the settings model.
class PresetRecorder : public SettingsObserver {
public:
    std::vector<std::pair<Setting, int>> selections;
    void selectionSet(Setting setting, int choice) override {
        selections.emplace_back(setting, choice);
    }
    void enabledSet(Setting, bool) override {}
    void modelSet(Model) override {}
};

std::string presetScriptData(Model model) {
    SettingsModel settings;
    settings.IntializeSelectionBoxes();
    PresetRecorder recorder;
    settings.addObserver(&recorder);
    if (model == Model::OptDomestic)
        settings.OptDomestic_Click();
    else
        settings.OptExport_Click();
    std::string json = "[";
    for (const auto& [setting, choice] : recorder.selections) {
        json += (json.size() > 1 ? "," : "") + std::string("[") +
                jsonString(vendorSetting(setting).name) + "," +
                jsonString(vendorSetting(setting).keywords[choice]) + "]";
    }
    return json + "]";
}

// For each governing box and each of its choices, the boxes that it enables and disables, found
// by running the settings model's own rules.
std::string interlockScriptData() {
    std::string json = "{";
    for (const VendorSetting& governor : vendorSettings()) {
        const int choices = static_cast<int>(governor.keywords.size());
        std::vector<std::vector<bool>> enabled;
        for (int choice = 0; choice < choices; ++choice) {
            SettingsModel settings;
            settings.IntializeSelectionBoxes();
            settings.setSelection(governor.setting, choice);
            std::vector<bool> states;
            for (int i = 0; i < kSettingCount; ++i)
                states.push_back(settings.isEnabled(settingAt(i)));
            enabled.push_back(states);
        }
        std::string rule;
        for (int i = 0; i < kSettingCount; ++i) {
            bool varies = false;
            for (int choice = 1; choice < choices; ++choice)
                varies = varies || enabled[choice][i] != enabled[0][i];
            if (!varies || settingAt(i) == governor.setting)
                continue;
            std::string byChoice;
            for (int choice = 0; choice < choices; ++choice)
                byChoice += (choice ? "," : "") + jsonString(governor.keywords[choice]) + ":" +
                            (enabled[choice][i] ? "true" : "false");
            rule += (rule.empty() ? "" : ",") + jsonString(vendorSettings()[i].name) + ":{" +
                    byChoice + "}";
        }
        if (!rule.empty())
            json += (json.size() > 1 ? "," : "") + jsonString(governor.name) + ":{" + rule + "}";
    }
    return json + "}";
}

const char kScript[] = R"(<script>
(function () {
  var form = document.getElementById('orvel-font').form;
  function rule(governor) {
    var box = form.elements[governor];
    var governed = interlocks[governor];
    for (var name in governed) form.elements[name].disabled = !governed[name][box.value];
  }
  for (var governor in interlocks) {
    (function (g) { form.elements[g].addEventListener('change', function () { rule(g); }); })(governor);
  }
  function preset(model) {
    presets[model].forEach(function (step) {
      form.elements[step[0]].value = step[1];
      if (interlocks[step[0]]) rule(step[0]);
    });
  }
  ['domestic', 'export'].forEach(function (model) {
    document.getElementById('model-' + model).addEventListener('change', function () { preset(model); });
  });
})();
</script>)";

struct PageState {
    StoredSettings shown;
    std::string status;  // a line above the form
    bool statusIsError = false;
};

void writeSettingsForm(pappl_client_t* client, pappl_printer_t* printer, const PageState& state,
                       const std::string& path) {
    const SettingsModel model = modelOf(state.shown);
    std::string html;
    if (!state.status.empty())
        html += std::string("<p id=\"orvel-status\" class=\"") +
                (state.statusIsError ? "orvel-error" : "orvel-done") + "\">" + state.status +
                "</p>\n";
    papplClientHTMLPuts(client, html.c_str());
    papplClientHTMLStartForm(client, path.c_str(), false);
    html =
        "<input type=\"hidden\" name=\"orvel-form\" value=\"settings\">\n"
        "<p class=\"orvel-model\">";
    for (const auto& [value, caption, access, selected] :
         {std::tuple{kDomestic, "Domestic Model", "d", state.shown.model == Model::OptDomestic},
          std::tuple{kExport, "Export Model", "x", state.shown.model == Model::OptExport}}) {
        html += std::string("<label><input type=\"radio\" name=\"model\" id=\"model-") + value +
                "\" value=\"" + value + "\" accesskey=\"" + access + "\"" +
                (selected ? " checked" : "") + "> " + caption + "</label> ";
    }
    html += "</p>\n<table class=\"form orvel-settings\">\n";
    for (const VendorSetting& vendor : vendorSettings()) {
        const SettingInfo& info = settingInfo(vendor.setting);
        const int selected = model.selection(vendor.setting);
        html += "<tr><th><label for=\"" + vendor.name + "\">" + escaped(info.caption) +
                "</label></th><td><select id=\"" + vendor.name + "\" name=\"" + vendor.name + "\"" +
                (model.isEnabled(vendor.setting) ? "" : " disabled") + ">";
        for (std::size_t i = 0; i < info.choices.size(); ++i)
            html += "<option value=\"" + vendor.keywords[i] + "\"" +
                    (static_cast<int>(i) == selected ? " selected" : "") + ">" +
                    escaped(info.choices[i]) + "</option>";
        html += "</select></td></tr>\n";
    }
    html +=
        "</table>\n<p class=\"orvel-commands\">"
        "<button type=\"submit\" name=\"action\" value=\"apply\" accesskey=\"a\">Apply "
        "Settings</button> "
        "<button type=\"submit\" name=\"action\" value=\"restore\" accesskey=\"d\">Restore "
        "Default</button> "
        "<button type=\"submit\" name=\"action\" value=\"features\" accesskey=\"p\">Print "
        "Features</button></p>\n</form>\n";
    html += "<script>var interlocks = " + interlockScriptData() +
            ";\nvar presets = {\"domestic\": " + presetScriptData(Model::OptDomestic) +
            ", \"export\": " + presetScriptData(Model::OptExport) + "};</script>\n";
    html += kScript;
    papplClientHTMLPuts(client, html.c_str());
    (void)printer;
}

// The readiness question, with the form's values carried over to the answer.
void writeQuestion(pappl_client_t* client, const std::string& path,
                   const std::map<std::string, std::string>& fields) {
    std::string html = "<div id=\"orvel-question\" class=\"orvel-question\"><p>";
    const auto& lines = messages::kConfirmPrinterReady.lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        html += (i ? "<br>\n" : "") + escaped(lines[i]);
    html += "</p>\n";
    papplClientHTMLPuts(client, html.c_str());
    papplClientHTMLStartForm(client, path.c_str(), false);
    html.clear();
    for (const auto& [name, value] : fields)
        if (name != "session" && name != "confirmed")
            html += "<input type=\"hidden\" name=\"" + escaped(name) + "\" value=\"" +
                    escaped(value) + "\">\n";
    html +=
        "<button type=\"submit\" name=\"confirmed\" value=\"ok\" id=\"orvel-ok\" "
        "autofocus>OK</button> <button type=\"submit\" name=\"confirmed\" value=\"cancel\" "
        "id=\"orvel-cancel\">Cancel</button>\n</form></div>\n";
    papplClientHTMLPuts(client, html.c_str());
}

std::string busyText() {
    std::string text;
    for (const std::string& line : messages::kPrinterBusy.lines)
        text += (text.empty() ? "" : "<br>") + escaped(line);
    return text;
}

void reportOutcome(SendOutcome outcome, const char* done, PageState& state) {
    switch (outcome) {
        case SendOutcome::Sent:
            state.status = done;
            break;
        case SendOutcome::PrinterBusy:
            state.status = busyText();
            state.statusIsError = true;
            break;
        case SendOutcome::NotSent:
            state.status = "The job could not be queued; see the printer's log.";
            state.statusIsError = true;
            break;
    }
}

// Apply Settings from the form: a model, when chosen, and the boxes the browser sent (it sends
// no disabled box); checked against the interlocks as the stored settings stand.
void applyForm(pappl_printer_t* printer, const std::string& user,
               const std::map<std::string, std::string>& fields, PageState& state) {
    std::optional<Model> model;
    if (auto found = fields.find("model"); found != fields.end())
        model = found->second == kExport ? Model::OptExport : Model::OptDomestic;
    std::vector<SettingChange> changes;
    for (const VendorSetting& vendor : vendorSettings()) {
        const auto found = fields.find(vendor.name);
        if (found == fields.end())
            continue;
        const int choice = choiceOfKeyword(vendor.setting, found->second);
        if (choice < 0) {
            state.status = escaped(settingInfo(vendor.setting).caption) + ": no such choice.";
            state.statusIsError = true;
            return;
        }
        changes.push_back({vendor.setting, choice});
    }
    const ChangeOutcome outcome = applyChanges(state.shown, model, changes);
    if (!outcome.accepted) {
        state.status = escaped(settingInfo(*outcome.refused).caption) +
                       " cannot be changed while it is disabled; nothing was sent.";
        state.statusIsError = true;
        return;
    }
    reportOutcome(applySettings(printer, outcome.result, user),
                  "The settings were sent to the printer.", state);
    if (!state.statusIsError)
        state.shown = outcome.result;
}

bool settingsPage(pappl_client_t* client, void* data) {
    auto* printer = static_cast<pappl_printer_t*>(data);
    if (!papplClientHTMLAuthorize(client))
        return true;
    char pathBuffer[256];
    const std::string path =
        papplPrinterGetPath(printer, "settings", pathBuffer, sizeof pathBuffer);
    const int printerId = papplPrinterGetID(printer);
    PageState state{appContext().storedSettings(printerId), "", false};
    std::map<std::string, std::string> fields;
    bool askQuestion = false;

    if (papplClientGetMethod(client) == HTTP_STATE_POST) {
        cups_option_t* form = nullptr;
        const int count = papplClientGetForm(client, &form);
        const bool valid = papplClientIsValidForm(client, count, form);
        for (int i = 0; i < count; ++i)
            fields[form[i].name] = form[i].value;
        cupsFreeOptions(count, form);
        const std::string action = fields.count("action") ? fields["action"] : "";
        const std::string answer = fields.count("confirmed") ? fields["confirmed"] : "";
        const char* user = papplClientGetUsername(client);
        if (!valid) {
            state.status = "Invalid form data: reload the page and try again.";
            state.statusIsError = true;
        } else if (!mayChangePrinter(client)) {
            state.status = "Changing the printer needs authentication.";
            state.statusIsError = true;
        } else if (answer.empty() &&
                   (action == "apply" || action == "restore" || action == "features")) {
            askQuestion = true;
        } else if (answer == "ok" && action == "apply") {
            applyForm(printer, user ? user : "", fields, state);
        } else if (answer == "ok" && action == "restore") {
            reportOutcome(restoreDefaults(printer, user ? user : ""),
                          "The printer was told to restore its factory settings.", state);
            if (!state.statusIsError)
                state.shown = defaultSettings();
        } else if (answer == "ok" && action == "features") {
            reportOutcome(printFeatures(printer, user ? user : ""),
                          "The features page was sent to the printer.", state);
        }
    }
    papplClientHTMLPrinterHeader(client, printer, kPageTitle, 0, nullptr, nullptr);
    if (askQuestion)
        writeQuestion(client, path, fields);
    else
        writeSettingsForm(client, printer, state, path);
    papplClientHTMLPrinterFooter(client);
    return true;
}

}  // namespace

void addSettingsPage(pappl_printer_t* printer) {
    char path[256];
    papplPrinterGetPath(printer, "settings", path, sizeof path);
    pappl_system_t* system = papplPrinterGetSystem(printer);
    papplSystemAddResourceCallback(system, path, "text/html", settingsPage, printer);
    papplPrinterAddLink(printer, kPageTitle, path,
                        PAPPL_LOPTIONS_NAVIGATION | PAPPL_LOPTIONS_STATUS);
}

}  // namespace orvel::printerapp
