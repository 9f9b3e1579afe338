#include "duplication/procedure.h"

#include <exception>
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

// The changes of one run, undone as a whole when any of them fails.
void change_folder(DuplicatorForm& form, const ObjectTable& table, const RunInputs& in, const CheckedRun& checked,
                   UndoJournal& journal) {
    forms::Application& app = form.app();
    forms::FileSystem& files = app.files();
    const RunPlan& plan = checked.plan;
    RunText run;
    run.header1 = to_cp1252(form.header1.Text()).value_or(form.header1.Text());
    run.header2 = to_cp1252(form.header2.Text()).value_or(form.header2.Text());
    run.map = checked.map;
    run.new_name = checked.new_name;

    journal.begin();
    // The purge: old files are set aside, and dropped only once all is done.
    journal.set_aside(plan.set_aside);
    journal.will_write(plan.writes);
    for (std::size_t i = 0; i < table.files.size(); ++i)
        files.write_file(forms::join_local(in.folder, plan.writes[i]), file_bytes(table, table.files[i], run));
    app.MsgBox(table.xml_confirmation);
    if (table.interim_notice && form.report()) form.report()->interim_notice();
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
    forms::FileSystem& files = app.files();
    UndoJournal journal(files, in.folder);
    try {
        // A run cut short earlier is put back first.
        if (files.is_directory(in.folder)) journal.recover();
    } catch (...) {
        error_report("An earlier run on this folder was cut short, and what it changed cannot be put back: " +
                     description(std::current_exception()) + "\n\nNothing else was changed.");
        return;
    }
    std::variant<std::string, CheckedRun> checked;
    try {
        checked = check_run(table, form.kind(), in, files);
    } catch (...) {
        checked = description(std::current_exception());
    }
    if (const std::string* why = std::get_if<std::string>(&checked)) {
        error_report(*why + kUnchanged);
        return;
    }
    // Whatever fails during the changes, they are all undone before the report.
    try {
        change_folder(form, table, in, std::get<CheckedRun>(checked), journal);
    } catch (...) {
        const std::string what = description(std::current_exception());
        try {
            journal.undo();
        } catch (...) {
            error_report(what + "\n\nThe folder could not be put back completely: " +
                         description(std::current_exception()) + "\nThe next run on this folder puts back what it can.");
            return;
        }
        error_report(what + kUnchanged);
        return;
    }
    app.MsgBox(kRenameConfirmation);
    if (form.report()) form.report()->completed(form.success_text(), in.new_name);
    form.Unload();
}

}  // namespace duplication
