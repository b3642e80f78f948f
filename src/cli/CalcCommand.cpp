#include "CalcCommand.h"

#include <array>
#include <ostream>
#include <sstream>

#include "Json.h"
#include "core/KeihiSet.h"
#include "core/MessageCatalogue.h"
#include "core/NumberText.h"
#include "core/OptionChecks.h"
#include "core/ResultPanel.h"
#include "core/TaxSettings.h"
#include "core/UnitTable.h"
#include "platform/Folders.h"
#include "settings/SettingsStore.h"
#include "StoredChoices.h"

namespace zavota::cli {

namespace {

constexpr int kMsgBadText = 200;

// The change-time rule of a field: separators removed, text that is no number refused.
Refusal Normalise(const std::optional<std::string>& text, FieldKind kind, const char* field, std::string& out) {
    out.clear();
    if (!text) return {};
    const NormalisedText n = NormaliseOnChange(*text, kind);
    if (n.refused) return {kMsgBadText, field};
    out = n.text;
    return {};
}

// A tax-rate or annual-gain field of the options pages, read as the page reads it when it is left.
template <typename Read>
Refusal ReadSetting(const std::optional<std::string>& text, FieldKind kind, Read read, Yen& target) {
    if (!text) return {};
    std::string t;
    const FieldCheck first = read(std::string());  // names the field
    if (Refusal r = Normalise(text, kind, first.focus, t); r.message != 0) return r;
    const FieldCheck c = read(t);
    if (!c.ok()) return {c.message, c.focus};
    target = c.value;
    return {};
}

Refusal ReadExpenseSet(const std::string& text, KeihiSet& set) {
    std::vector<std::string> parts;
    std::string current;
    for (const char c : text) {
        if (c == ',') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    // The values come in the record's order; the dialog checks them in its own order.
    static constexpr KeihiField kApplyOrder[] = {KeihiField::RateK, KeihiField::RateU, KeihiField::DaysK,
                                                 KeihiField::DaysU, KeihiField::Kanri, KeihiField::Meigi,
                                                 KeihiField::Haitou, KeihiField::Hibu, KeihiField::Other};
    std::string byField[9];
    for (int i = 0; i < 9; ++i) byField[static_cast<int>(kExpenseSetOrder[i])] = parts[i];
    for (const KeihiField f : kApplyOrder) {
        const KeihiFieldCheck c = CheckKeihiField(f, byField[static_cast<int>(f)]);
        if (c.message != 0) return {c.message, std::string(KeihiFieldControl(f))};
        KeihiValue(set, f) = c.value;
    }
    return {};
}

std::string RefusalText(int message) { return MessageCatalogue::Notice(message).text; }

void PrintRefusal(std::ostream& out, bool json, int message, const std::string& focus) {
    if (json) {
        JsonObject o;
        o.Bool("ok", false).Number("message", message).String("text", RefusalText(message));
        if (focus.empty())
            o.Raw("focus", "null");
        else
            o.String("focus", focus);
        out << o.Text() << '\n';
        return;
    }
    out << "メッセージ " << message << ": " << RefusalText(message);
    if (!focus.empty()) out << " [" << focus << "]";
    out << '\n';
}

std::vector<FieldWrite> FieldsRewritten(const PageOutcome& outcome) {
    std::vector<FieldWrite> fields = outcome.adjustWrites;
    fields.insert(fields.end(), outcome.writes.begin(), outcome.writes.end());
    for (const std::string& name : outcome.emptied) fields.push_back({name, ""});
    return fields;
}

void PrintResult(std::ostream& out, bool json, const PageOutcome& outcome, const TradeResult& result, Page page) {
    const std::vector<PanelFigure> figures = PanelFigures(result, outcome.show, page, outcome.expenseSet);
    const std::vector<FieldWrite> fields = FieldsRewritten(outcome);
    if (json) {
        std::string adjustments = "[";
        for (std::size_t i = 0; i < outcome.adjustments.size(); ++i) {
            const AdjustmentPair& a = outcome.adjustments[i];
            JsonObject o;
            o.Number("entered", a.entered.Whole()).Number("used", a.used.Whole()).Number("tick", a.tick.Whole());
            adjustments += (i ? "," : "") + o.Text();
        }
        adjustments += "]";
        JsonObject fieldsJson, figuresJson;
        for (const FieldWrite& w : fields) fieldsJson.String(w.field, w.text);
        for (const PanelFigure& f : figures) figuresJson.String(f.box, f.text);
        JsonObject o;
        o.Bool("ok", true)
            .Raw("adjustments", adjustments)
            .Raw("fields", fieldsJson.Text())
            .Raw("figures", figuresJson.Text())
            .String("mark", outcome.mark);
        out << o.Text() << '\n';
        return;
    }
    if (outcome.NeedsConfirmation()) {
        out << kAdjustmentHeading << '\n';
        for (const std::string& line : AdjustmentLines(outcome.adjustments)) out << line << '\n';
    }
    for (const FieldWrite& w : fields) out << w.field << " ← \"" << w.text << "\"\n";
    for (const PanelFigure& f : figures) {
        out << f.caption << '\t' << f.text;
        if (outcome.mark == f.box) out << "\t＊";
        out << '\n';
    }
}

}  // namespace

Refusal ApplySettings(const CalcOptions& o, const std::optional<std::string>& expenseSet, CalcState& state) {
    TaxSettings& tax = state.tax;
    // First, so that the rates given one by one still win over today's.
    if (o.today) state.UseTodaysRules();
    const auto yearGain = [](const std::string& t) {
        TaxSettings scratch;
        return CommitYearGain(t, scratch);
    };
    if (Refusal r = ReadSetting(o.yearGain, FieldKind::SignedWholeNumber, yearGain, tax.YearGain); r.message != 0)
        return r;
    const std::array<const std::optional<std::string>*, 4> rateTexts = {&o.taxBuy, &o.taxSell, &o.incomeTax,
                                                                        &o.residentTax};
    const std::array<Yen*, 4> rates = {&tax.KaiS, &tax.UriS, &tax.ShinSyotoku, &tax.ShinJyuumin};
    for (std::size_t i = 0; i < rates.size(); ++i) {
        const auto rate = [i](const std::string& t) { return ReadTaxRate(t, i); };
        if (Refusal r = ReadSetting(*rateTexts[i], FieldKind::Decimal, rate, *rates[i]); r.message != 0) return r;
    }
    if (o.noProfitTax) tax.DontUse = 1;
    if (o.separateTaxes) tax.CalcEach = 1;
    if (o.noTickCheck) state.SetTickCheck(false);
    if (o.referenceWalk) state.walk = Walk::RoundByRound;

    const int pageIndex = o.page == Page::Buy ? 0 : 1;
    if (expenseSet) {
        KeihiSet set;
        if (Refusal r = ReadExpenseSet(*expenseSet, set); r.message != 0) return r;
        state.keihiSets[0] = set;
        state.keihiSelected[pageIndex] = 1;
    }
    state.buyPageFlag = o.page == Page::Buy;
    return {};
}

Refusal BuildPageInput(const CalcOptions& o, const PageChoices& stored, PageInput& in) {
    const PageFields& f = FieldsOf(o.page);
    in.page = o.page;
    if (Refusal r = Normalise(o.price, FieldKind::WholeNumber, f.price, in.price); r.message) return r;
    if (Refusal r = Normalise(o.shares, FieldKind::WholeNumber, f.shares, in.shares); r.message) return r;
    for (int i = 0; i < 4; ++i) {
        const FieldKind kind = i == 3 ? FieldKind::Decimal : FieldKind::WholeNumber;
        if (Refusal r = Normalise(o.questions[i], kind, f.questions[i], in.questions[i]); r.message) return r;
    }
    const bool margin = o.margin.value_or(stored.taxKindIndex == 1);
    // With margin trading the "ミニ株" box is disabled and unticked.
    in.miniInUse = !margin && !o.noMini && (o.miniUnit.has_value() || stored.mini);
    if (in.miniInUse) {
        const std::optional<std::string> unit = o.miniUnit ? o.miniUnit : std::optional(stored.miniUnit);
        if (Refusal r = Normalise(unit, FieldKind::WholeNumber, f.miniUnit, in.miniUnit); r.message) return r;
    }
    in.taxKindIndex = margin ? 1 : 0;
    in.table = stored.table;
    in.table2 = stored.table2;
    in.twoTables = stored.twoTables;
    in.otc = o.otc || (!o.noOtc && stored.otc);
    for (int i = 0; i < 4; ++i) {
        in.manual[i].on = o.manual[i].has_value();
        in.manual[i].text = o.manual[i].value_or("");
    }
    return {};
}

int RunCalc(const CalcOptions& o, const PageChoices& stored, const std::optional<std::string>& expenseSet,
            CalcState& state, std::ostream& out) {
    if (Refusal r = ApplySettings(o, expenseSet, state); r.message != 0) {
        PrintRefusal(out, o.json, r.message, r.focus);
        return ExitRefused;
    }
    PageInput input;
    if (Refusal r = BuildPageInput(o, stored, input); r.message != 0) {
        PrintRefusal(out, o.json, r.message, r.focus);
        return ExitRefused;
    }
    const PageOutcome outcome = RunPage(state, input);
    if (outcome.status != PageStatus::Ready) {
        PrintRefusal(out, o.json, outcome.message, outcome.focus);
        return ExitRefused;
    }
    if (outcome.NeedsConfirmation() && o.rejectAdjustment) {
        CancelAdjustment(state);
        if (o.json)
            out << JsonObject().Bool("ok", false).Bool("cancelled", true).Text() << '\n';
        else
            out << "キャンセルしました\n";
        return ExitCancelled;
    }
    PrintResult(out, o.json, outcome, state.result, o.page);
    return ExitOk;
}

void LoadStoredSettings(SettingsStore& store, std::ostream& err) {
    constexpr int kMsgSettingsUnread = 296;
    store.LoadAll();
    if (store.LoadFoundDamage())
        err << "zavota-cli: メッセージ " << kMsgSettingsUnread << ": " << RefusalText(kMsgSettingsUnread) << ' '
            << store.HivePath() << '\n';
}

int CalcMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedCalcOptions parsed = ParseCalcOptions(args);
    if (!parsed.error.empty()) {
        err << "zavota-cli calc: " << parsed.error << " (" << kCalcUsage << ")\n";
        return ExitUsage;
    }
    if (parsed.options.help) {
        out << kCalcUsage << '\n';
        return ExitOk;
    }
    const CalcOptions& o = parsed.options;
    CalcState state;
    ProgramSettings program;
    SettingsStore store(BindSettings(program, state), platform::HivePath());
    LoadStoredSettings(store, err);
    PageChoices choices = StoredPageChoices(program.option, state.tables, o.page);
    std::optional<std::string> expenseSet = o.expenseSet;
    ChoiceError e = ChooseTables(o, state, choices);
    if (!e.Failed() && o.expensesFile) e = ReadExpensesFile(o, expenseSet.emplace());
    if (!e.usage.empty()) {
        err << "zavota-cli calc: " << e.usage << '\n';
        return ExitUsage;
    }
    if (e.message != 0) {
        PrintRefusal(out, o.json, e.message, "");
        return ExitRefused;
    }
    return RunCalc(o, choices, expenseSet, state, out);
}

}  // namespace zavota::cli
