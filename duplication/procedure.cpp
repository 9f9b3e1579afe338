#include "duplication/procedure.h"

#include <set>

#include "duplication/cp1252.h"
#include "duplication/duplicator_form.h"
#include "duplication/msf_writer.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

std::string folder_path(const RunInputs& in, const std::string& rel) { return forms::join_local(in.folder, rel); }

// Characters that cannot stand in a file name here or on Windows.
std::optional<char> bad_file_name_char(const std::string& name) {
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return c;
        for (char bad : std::string_view("\\/:*?\"<>|"))
            if (c == bad) return c;
    }
    return std::nullopt;
}

std::string describe(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return "a control character";
    return quoted(std::string(1, c));
}

// Paths compared as Windows compares file names: without regard to case.
std::string folded(const std::string& path) {
    std::string out = to_cp1252(path).value_or(path);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) c = static_cast<char>(u + 0x20);
    }
    return out;
}

// The first path that two entries of a list would share, if any.
template <class List, class PathOf>
std::optional<std::string> shared_path(const List& list, PathOf path_of) {
    std::set<std::string> seen;
    for (const auto& item : list) {
        const std::string path = path_of(item);
        if (!seen.insert(folded(path)).second) return path;
    }
    return std::nullopt;
}

void purge(const ObjectTable& table, const RunInputs& in, forms::FileSystem& files) {
    for (const std::string& folder : table.purge)
        for (const std::string& xml : files.files_with_suffix(folder_path(in, folder), ".xml")) files.remove(xml);
}

void generate(const ObjectTable& table, const RunInputs& in, const RunText& run, forms::FileSystem& files) {
    for (const FileEntry& entry : table.files)
        files.write_file(folder_path(in, xml_rel_path(entry, in.new_name)), file_bytes(table, entry, run));
}

void rename_metas(const ObjectTable& table, const RunInputs& in, forms::FileSystem& files) {
    for (const Rename& r : table.renames)
        files.rename(folder_path(in, with_name(r.from, in.new_name)), folder_path(in, with_name(r.to, in.new_name)));
}

}  // namespace

std::optional<std::string> check_run(const ObjectTable& table, const std::string& kind, const RunInputs& in,
                                     forms::FileSystem& files) {
    if (in.new_name.empty()) return std::string("The new name is empty: enter a name for the new object.");
    if (const auto c = bad_file_name_char(in.new_name))
        return "The new name " + quoted(in.new_name) + " cannot be used in a file name: it holds " + describe(*c) +
               ".";
    if (in.new_name.find('&') != std::string::npos)
        return "The new name " + quoted(in.new_name) +
               " holds \"&\", which the written XML files cannot carry. Choose a name without it.";
    if (!to_cp1252(in.new_name))
        return "The new name " + quoted(in.new_name) +
               " holds a character that the written files cannot carry (Windows-1252).";
    if (!to_cp1252(in.map))
        return "The map name " + quoted(in.map) +
               " holds a character that the written files cannot carry (Windows-1252).";
    // A new name equal to a stock tag name would make two files one.
    const auto clash = [&](const std::string& path) {
        return "With the new name " + quoted(in.new_name) + " two files of the " + kind + " would both be " +
               quoted(folder_path(in, path)) + ", and one would be lost. Choose another name; nothing was changed.";
    };
    if (const auto path = shared_path(table.files, [&](const FileEntry& e) { return xml_rel_path(e, in.new_name); }))
        return clash(*path);
    if (const auto path = shared_path(table.renames, [&](const Rename& r) { return with_name(r.to, in.new_name); }))
        return clash(*path);
    if (!files.is_directory(in.folder)) return "The output folder " + quoted(in.folder) + " does not exist.";
    for (const std::string& folder : table.purge) {
        const std::string path = folder_path(in, folder);
        if (!files.is_directory(path)) return "The folder " + quoted(path) + " of the " + kind + " is missing.";
    }
    for (const Rename& r : table.renames) {
        const std::string from = folder_path(in, with_name(r.from, in.new_name));
        const std::string to = folder_path(in, with_name(r.to, in.new_name));
        if (!files.exists(from))
            return "The file " + quoted(from) + " of the stock " + kind +
                   " is missing: is this the copied folder, not yet duplicated?";
        if (files.exists(to)) return "The file " + quoted(to) + " already exists: nothing was changed.";
    }
    return std::nullopt;
}

void run_duplication(DuplicatorForm& form) {
    forms::Application& app = form.app();
    const ObjectTable& table = form.table();
    auto error_report = [&](const std::string& text) {
        app.MsgBox(text, forms::kCritical, std::string(kErrorTitle));
        if (table.unload_on_error) form.Unload();
    };
    const RunInputs in{form.txtmap.Text(), form.txtfile.Text(), form.Dir1.Path()};
    forms::FileSystem& files = app.files();
    try {
        if (const auto why = check_run(table, form.kind(), in, files)) {
            error_report(*why);
            return;
        }
        RunText run;
        run.header1 = to_cp1252(form.header1.Text()).value_or(form.header1.Text());
        run.header2 = to_cp1252(form.header2.Text()).value_or(form.header2.Text());
        run.map = *to_cp1252(in.map);
        run.new_name = *to_cp1252(in.new_name);

        purge(table, in, files);
        generate(table, in, run, files);
        app.MsgBox(table.xml_confirmation);
        if (table.interim_notice && form.report()) form.report()->interim_notice();
        rename_metas(table, in, files);
        app.MsgBox(kRenameConfirmation);
        if (form.report()) form.report()->completed(form.success_text(), in.new_name);
        form.Unload();
    } catch (const forms::Error& e) {
        error_report(e.what());
    }
}

}  // namespace duplication
