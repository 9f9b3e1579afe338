#include "duplication/procedure.h"

#include "duplication/cp1252.h"
#include "duplication/duplicator_form.h"
#include "duplication/msf_writer.h"
#include "duplication/undo_journal.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

constexpr const char* kUnchanged = "\n\nNothing was changed: the folder is as it was before.";

// The changes of one run, undone as a whole when any of them fails.
void change_folder(DuplicatorForm& form, const ObjectTable& table, const RunInputs& in, const RunPlan& plan,
                   UndoJournal& journal) {
    forms::Application& app = form.app();
    forms::FileSystem& files = app.files();
    RunText run;
    run.header1 = to_cp1252(form.header1.Text()).value_or(form.header1.Text());
    run.header2 = to_cp1252(form.header2.Text()).value_or(form.header2.Text());
    run.map = *to_cp1252(in.map);
    run.new_name = *to_cp1252(in.new_name);

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
    } catch (const forms::Error& e) {
        error_report(std::string("An earlier run on this folder was cut short, and what it changed cannot be put "
                                 "back: ") +
                     e.what() + "\n\nNothing else was changed.");
        return;
    }
    if (const auto why = check_run(table, form.kind(), in, files)) {
        error_report(*why + kUnchanged);
        return;
    }
    try {
        change_folder(form, table, in, plan_run(table, in, files), journal);
    } catch (const forms::Error& e) {
        try {
            journal.undo();
            error_report(e.what() + std::string(kUnchanged));
        } catch (const forms::Error& u) {
            error_report(e.what() + std::string("\n\nThe folder could not be put back completely: ") + u.what() +
                         "\nThe next run on this folder puts back what it can.");
        }
        return;
    }
    app.MsgBox(kRenameConfirmation);
    if (form.report()) form.report()->completed(form.success_text(), in.new_name);
    form.Unload();
}

}  // namespace duplication
