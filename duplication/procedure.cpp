#include "duplication/procedure.h"

#include <exception>
#include <memory>
#include <new>

#include "duplication/cp1252.h"
#include "duplication/duplicator_form.h"
#include "duplication/msf_writer.h"
#include "duplication/undo_journal.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

constexpr const char* kUnchanged = "\n\nNothing was changed: the folder is as it was before.";

// What stopped a run, for its error report: whatever was thrown.
std::string description(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const forms::Error& e) {
        return e.what();
    } catch (const std::bad_alloc&) {
        return "The run stopped: there was not enough memory.";
    } catch (const std::exception& e) {
        return std::string("The run stopped on an unexpected error: ") + e.what();
    } catch (...) {
        return "The run stopped on an unexpected error.";
    }
}

// The end of a report on a run that changed nothing of its own: it may have
// put back an earlier one.
std::string unchanged(bool put_back) {
    return put_back ? std::string("\n\n") + kPutBack + " Nothing else was changed." : kUnchanged;
}

// What a put-back that did not finish did, and why; whose: "what it changed"
// or "the run's changes".
std::string not_put_back(const PutBackError& e, const std::string& whose) {
    constexpr const char* kGoesOn = "\nWhat is left of it is still recorded: the next run on this folder goes on from there.";
    switch (e.kind) {
        case PutBackError::InTheWay:
            return whose + " cannot be put back while these stand in the way:\n" + e.detail +
                   "\nMove them elsewhere, then run again: the folder is put back first.";
        case PutBackError::NotWhole:
            return whose + " cannot be put back. " + e.detail;
        case PutBackError::Failed:
            return whose + " cannot be put back: " + description(e.cause) +
                   "\nThe record is kept: the next run on this folder tries again.";
        case PutBackError::InPart:
            break;
    }
    return whose + " could be put back only in part: " + description(e.cause) + kGoesOn;
}

// Takes the folder for one run and puts back an earlier run that was cut
// short: the report when the run must not go on.
std::optional<std::string> take_folder(forms::FileSystem& files, const std::string& folder, UndoJournal& journal,
                                       std::unique_ptr<forms::FolderLock>& lock, bool& put_back) {
    try {
        lock = files.lock(folder);
        if (!lock) return "Another run is working on the folder " + quoted(folder) + ". Let it end, then try again." + kUnchanged;
        if (const auto why = journal.inspect()) return *why + kUnchanged;
    } catch (...) {
        return description(std::current_exception()) + kUnchanged;
    }
    if (!journal.cut_short()) return std::nullopt;
    try {
        journal.recover();
    } catch (const PutBackError& e) {
        if (e.kind == PutBackError::NotWhole) return e.detail + kUnchanged;
        return "An earlier run on this folder was cut short, and " + not_put_back(e, "what it changed") +
               (e.kind == PutBackError::InPart ? "" : kUnchanged);
    }
    put_back = true;
    return std::nullopt;
}

// The changes of one run, undone as a whole when any of them fails.
void change_folder(DuplicatorForm& form, const ObjectTable& table, const RunInputs& in, const CheckedRun& checked,
                   UndoJournal& journal, bool& noticed) {
    forms::Application& app = form.app();
    forms::FileSystem& files = app.files();
    const RunPlan& plan = checked.plan;
    RunText run;
    run.header1 = to_cp1252(form.header1.Text()).value_or(form.header1.Text());
    run.header2 = to_cp1252(form.header2.Text()).value_or(form.header2.Text());
    run.map = checked.map;
    run.new_name = checked.new_name;

    journal.begin(form.kind(), in.new_name, run_scope(table, plan));
    // The purge: old files are set aside, and dropped only once all is done.
    journal.set_aside(plan.set_aside);
    std::vector<std::pair<std::string, std::string>> written;
    for (std::size_t i = 0; i < table.files.size(); ++i)
        written.emplace_back(plan.writes[i], file_bytes(table, table.files[i], run));
    journal.write(written);
    app.MsgBox(table.xml_confirmation);
    if (table.interim_notice && form.report()) {
        form.report()->interim_notice();
        noticed = true;
    }
    journal.will_rename(plan.renames);
    for (const auto& [from, to] : plan.renames)
        files.rename(forms::join_local(in.folder, from), forms::join_local(in.folder, to));
    journal.commit();
}

}  // namespace

void run_duplication(DuplicatorForm& form) {
    forms::Application& app = form.app();
    const ObjectTable& table = form.table();
    auto error_report = [&](const std::string& text) {
        app.MsgBox(text, forms::kCritical, std::string(kErrorTitle));
        if (table.unload_on_error) form.Unload();
    };
    const RunInputs in{form.txtmap.Text(), form.txtfile.Text(), form.Dir1.Path()};
    auto inputs = check_inputs(table, form.kind(), in);
    if (const std::string* why = std::get_if<std::string>(&inputs)) {
        error_report(*why + kUnchanged);
        return;
    }
    CheckedRun& checked = std::get<CheckedRun>(inputs);

    // One run at a time on a folder, from before an earlier run is put back
    // until this one is done.
    forms::FileSystem& files = app.files();
    UndoJournal journal(files, in.folder, [&form](const std::string& kind, const std::string& name) {
        const ObjectTable* other = form.table_of(kind);
        if (!other) return std::variant<std::string, RunScope>("no object of this program is called so");
        return run_scope(*other, kind, name);
    });
    std::unique_ptr<forms::FolderLock> lock;
    bool put_back = false;
    std::optional<std::string> refused;
    try {
        if (files.is_directory(in.folder)) refused = take_folder(files, in.folder, journal, lock, put_back);
    } catch (...) {
        refused = description(std::current_exception()) + kUnchanged;
    }
    if (refused) {
        error_report(*refused);
        return;
    }
    std::optional<std::string> why;
    try {
        why = check_folder(table, form.kind(), in, files, checked);
    } catch (...) {
        why = description(std::current_exception());
    }
    if (why) {
        error_report(*why + unchanged(put_back));
        return;
    }
    if (put_back) app.MsgBox(kPutBack);

    // Whatever fails during the changes, they are all undone before the report.
    bool noticed = false;
    try {
        change_folder(form, table, in, checked, journal, noticed);
    } catch (...) {
        const std::string what = description(std::current_exception());
        if (noticed) form.report()->interim_withdrawn();
        try {
            journal.undo();
        } catch (const PutBackError& e) {
            error_report(what + "\n\n" + not_put_back(e, "The run's changes") +
                         (put_back ? std::string("\n\n") + kPutBack : ""));
            return;
        }
        error_report(what + unchanged(put_back));
        return;
    }
    const std::vector<std::string> foreign = journal.clear_leftovers();
    lock.reset();
    app.MsgBox(kRenameConfirmation);
    if (!foreign.empty()) {
        std::string list;
        for (const std::string& path : foreign) {
            list += '\n';
            list += forms::bounded(path);
        }
        app.MsgBox("These files were found among what earlier runs left in this folder. This program did not write "
                   "them, so they were left in place:" + list);
    }
    if (form.report()) form.report()->completed(form.success_text(), in.new_name);
    form.Unload();
}

}  // namespace duplication
