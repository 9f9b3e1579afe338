#include "duplication/run_checks.h"

#include <algorithm>
#include <map>
#include <set>

#include "duplication/cp1252.h"
#include "duplication/msf_writer.h"
#include "duplication/paths.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

using Reason = std::optional<std::string>;

std::string local(const RunInputs& in, const std::string& rel) { return forms::join_local(in.folder, rel); }

std::vector<std::string> written_paths(const ObjectTable& table, const std::string& new_name) {
    std::vector<std::string> paths;
    for (const FileEntry& e : table.files) paths.push_back(xml_rel_path(e, new_name));
    return paths;
}

std::vector<std::pair<std::string, std::string>> renamed_paths(const ObjectTable& table, const std::string& new_name) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const Rename& r : table.renames) pairs.emplace_back(with_name(r.from, new_name), with_name(r.to, new_name));
    return pairs;
}

// Why the new name cannot stand in a file name here or on Windows; else
// bytes is the name as the files carry it.
Reason bad_name(const std::string& name, const ObjectTable& table, std::string& bytes) {
    const std::string says = "The new name " + quoted(name);
    if (name.empty()) return "The new name is empty: enter a name for the new object.";
    if (name == "." || name == "..") return says + " cannot be used: it names a folder, not a file.";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return says + " cannot be used in a file name: it holds a control character.";
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return says + " cannot be used in a file name: it holds " + quoted(std::string(1, c)) + ".";
    }
    if (name.find('&') != std::string::npos)
        return says + " holds \"&\", which the written XML files cannot carry. Choose a name without it.";
    if (is_device_name(name)) return says + " cannot be used in a file name: Windows keeps it for a device.";
    const auto converted = to_cp1252(name);
    if (!converted) return says + " holds a character that the written files cannot carry (Windows-1252).";
    if (folded(name) == folded(table.stock_name))
        return says + " is the stock object's own name: choose a new name for the duplicate.";
    bytes = *converted;
    return std::nullopt;
}

Reason bad_map(const std::string& map, std::string& bytes) {
    const std::string says = "The map name " + quoted(map);
    for (char c : map)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return says + " holds a control character, which the written XML files cannot carry.";
    const auto converted = to_cp1252(map);
    if (!converted) return says + " holds a character that the written files cannot carry (Windows-1252).";
    for (const char* c : {"&", "<"})
        if (map.find(c) != std::string::npos)
            return says + " holds " + quoted(c) + ", which the written XML files cannot carry.";
    bytes = *converted;
    return std::nullopt;
}

// The first path with a file or folder name that ends in a blank or a point:
// Windows drops them, so the file would not be the one the run means.
Reason dropped_ending(const std::vector<std::string>& paths) {
    for (const std::string& p : paths)
        for (std::size_t end = p.find('\\');; end = p.find('\\', end + 1)) {
            const std::size_t stop = end == std::string::npos ? p.size() : end;
            if (stop > 0 && (p[stop - 1] == ' ' || p[stop - 1] == '.')) return p;
            if (end == std::string::npos) break;
        }
    return std::nullopt;
}

// The first path that two entries would share.
Reason shared_path(const std::vector<std::string>& paths) {
    std::set<std::string> seen;
    for (const std::string& p : paths)
        if (!seen.insert(folded(p)).second) return p;
    return std::nullopt;
}

Reason too_long(const RunInputs& in, const std::string& rel) {
    const std::string name = name_of(rel), path = local(in, rel);
    const std::size_t n = forms::length_of(name), p = forms::length_of(path);
    if (n > forms::max_name_length())
        return "The new name is too long: the file name " + quoted(name) + " would have " + std::to_string(n) + " " +
               forms::length_unit() + ", more than the " + std::to_string(forms::max_name_length()) +
               " that the system allows. Choose a shorter name.";
    if (p > forms::max_path_length())
        return "The new name is too long for this folder: the path " + quoted(path) + " would have " +
               std::to_string(p) + " " + forms::length_unit() + ", more than the " +
               std::to_string(forms::max_path_length()) +
               " that the system allows. Choose a shorter name or a folder nearer the top of the drive.";
    return std::nullopt;
}

// The real place of a link, or nothing when it leads nowhere.
std::optional<std::string> target(forms::FileSystem& files, const std::string& path) {
    try {
        return files.resolved(path);
    } catch (const forms::Error&) {
        return std::nullopt;
    }
}

std::string leads_nowhere(const std::string& what, const std::string& path) {
    return what + " " + quoted(path) + " is a link that leads nowhere. Delete the link and try again.";
}

// Why the file at path must not be set aside, renamed or written over: a
// run moves, deletes and writes nothing through a link.
Reason linked_file(forms::FileSystem& files, const std::string& path) {
    if (!files.is_link(path)) return std::nullopt;
    const auto to = target(files, path);
    if (!to) return leads_nowhere("The file", path);
    return "The file " + quoted(path) + " is a link to " + quoted(*to) +
           ". A run moves, deletes and writes no file through a link: put the file itself in its place, or delete "
           "the link, and try again.";
}

Reason bad_folder(const RunInputs& in, const std::string& rel, const std::string& kind, const std::string& root,
                  forms::FileSystem& files) {
    const std::string path = local(in, rel);
    if (!files.is_directory(path)) {
        if (files.is_link(path) && !target(files, path)) return leads_nowhere("The folder", path);
        return "The folder " + quoted(path) + " of the " + kind + " is missing.";
    }
    if (const auto link = first_link(files, in.folder, rel)) {
        const std::string at = local(in, *link);
        const auto to = target(files, at);
        if (!to) return leads_nowhere("The folder", at);
        if (!forms::is_under(*to, root))
            return "The folder " + quoted(at) + " leads outside the output folder, to " + quoted(*to) +
                   ". Nothing outside the output folder is changed: replace the link by the folder itself.";
        return "The folder " + quoted(at) + " is a link to " + quoted(*to) +
               ". A run changes nothing through a link: replace the link by the folder itself and try again.";
    }
    if (const auto why = files.why_unwritable(path))
        return "The folder " + quoted(path) + " cannot be written (" + *why + "): make it writable and try again.";
    return std::nullopt;
}

// Why the entry must not be set aside: a run moves only plain files, and
// never through a link.
Reason unmovable(forms::FileSystem& files, const std::string& path, forms::Entry type) {
    if (type == forms::Entry::Link) return linked_file(files, path);
    if (type != forms::Entry::File)
        return "The entry " + quoted(path) +
               " is not a file but a pipe, socket or device, which a run neither opens nor moves. Move it "
               "elsewhere and try again.";
    return std::nullopt;
}

// The folders a run looks into, each listed once.
class Listings {
public:
    Listings(forms::FileSystem& files, const RunInputs& in) : files_(files), in_(in) {}

    const std::vector<forms::Listed>& of(const std::string& folder) {
        auto it = listed_.find(folder);
        if (it == listed_.end()) it = listed_.emplace(folder, files_.list(local(in_, folder))).first;
        return it->second;
    }

    // The entry its folder lists for what the file system found at rel (a
    // folder may find a name in any case): the exact name, else the entry of
    // that identity whose name differs only in case, else, for a file of one
    // name, any entry of that identity.
    std::optional<forms::Listed> entry_for(const std::string& rel, const forms::Found& there) {
        const std::string folder = folder_of(rel), name = name_of(rel);
        const std::vector<forms::Listed>& entries = of(folder);
        const auto is = [&](const forms::Listed& e) {
            return files_.stat(local(in_, folder + "\\" + e.name)).id == there.id;
        };
        for (const forms::Listed& e : entries)
            if (e.name == name) return e;
        for (const forms::Listed& e : entries)
            if (forms::same_in_any_case(e.name, name) && is(e)) return e;
        if (there.links <= 1)
            for (const forms::Listed& e : entries)
                if (is(e)) return e;
        return std::nullopt;
    }

private:
    forms::FileSystem& files_;
    const RunInputs& in_;
    std::map<std::string, std::vector<forms::Listed>> listed_;
};

// Old files of the purge folders, and whatever else stands where a file is
// written, each by its exact name as its folder lists it.
Reason set_aside(const ObjectTable& table, const RunInputs& in, const std::vector<std::string>& writes,
                 const std::vector<forms::Found>& at_writes, forms::FileSystem& files, Listings& listings,
                 std::vector<std::string>& list) {
    std::set<std::string> aside;
    const auto add = [&](const std::string& folder, const forms::Listed& e) -> Reason {
        const std::string rel = folder == "." ? e.name : folder + "\\" + e.name;
        if (!aside.insert(rel).second) return std::nullopt;
        if (Reason why = unmovable(files, local(in, rel), e.type)) return why;
        // The record separates folders with a backslash; on Linux it may
        // stand in a name. On Windows a device's name leads to the device.
        if (e.name.find('\\') != std::string::npos)
            return "The file " + quoted(local(in, folder) + "/" + e.name) +
                   " has a name with \"\\\", which this program cannot carry. Rename or move it and try again.";
#ifdef _WIN32
        if (is_device_name(e.name))
            return "The file " + quoted(local(in, rel)) +
                   " has a name that Windows keeps for a device, so the run cannot move it. Rename or move it "
                   "and try again.";
#endif
        if (files.read_only(local(in, rel)))
            return "The file " + quoted(local(in, rel)) +
                   " is read-only, so the run cannot replace it. Clear its read-only attribute and try again.";
        list.push_back(rel);
        return std::nullopt;
    };
    for (const std::string& folder : table.purge)
        for (const forms::Listed& e : listings.of(folder))
            // A link that leads to a folder is a folder to the purge: left alone.
            if (e.type != forms::Entry::Folder && ends_with_nocase(e.name, ".xml") &&
                !(e.type == forms::Entry::Link && files.is_directory(local(in, folder + "\\" + e.name))))
                if (Reason why = add(folder, e)) return why;
    // Whatever the file system finds at a written path, a folder ignoring case
    // included, is the entry of its folder with that identity.
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const std::string& rel = writes[i];
        const forms::Found& there = at_writes[i];
        if (there.type == forms::Entry::None) continue;
        const auto found = listings.entry_for(rel, there);
        if (Reason why = add(folder_of(rel), found.value_or(forms::Listed{name_of(rel), there.type}))) return why;
    }
    return std::nullopt;
}

}  // namespace

std::variant<std::string, CheckedRun> check_inputs(const ObjectTable& table, const std::string& kind,
                                                   const RunInputs& in) {
    CheckedRun run;
    if (Reason why = bad_name(in.new_name, table, run.new_name)) return std::move(*why);
    if (Reason why = bad_map(in.map, run.map)) return std::move(*why);
    run.plan.writes = written_paths(table, in.new_name);
    run.plan.renames = renamed_paths(table, in.new_name);
    std::vector<std::string> targets;
    for (const auto& r : run.plan.renames) targets.push_back(r.second);
    for (const auto& list : {run.plan.writes, targets}) {
        if (const Reason path = dropped_ending(list))
            return "With the new name " + quoted(in.new_name) + " a file or folder name in " +
                   quoted(local(in, *path)) + " would end in a blank or a point, which Windows drops. " +
                   "Choose another name.";
        // A new name equal to a stock tag name would make two files one.
        if (const Reason path = shared_path(list))
            return "With the new name " + quoted(in.new_name) + " two files of the " + kind + " would both be " +
                   quoted(local(in, *path)) + ", and one would be lost. Choose another name.";
        for (const std::string& path : list)
            if (is_own_folder_name(split(path, '\\').front()))
                return "With the new name " + quoted(in.new_name) + " the file " + quoted(local(in, path)) +
                       " would lie in a folder that this program keeps for itself. Choose another name.";
    }
    return run;
}

std::variant<std::string, RunScope> run_scope(const ObjectTable& table, const std::string& kind,
                                              const std::string& new_name) {
    auto run = check_inputs(table, kind, {"", new_name, ""});
    if (std::string* why = std::get_if<std::string>(&run)) return std::move(*why);
    return run_scope(table, std::get<CheckedRun>(run).plan);
}

RunScope run_scope(const ObjectTable& table, const RunPlan& plan) {
    RunScope scope{table.purge, plan.writes, plan.renames};
    for (const std::string& w : scope.writes)
        if (std::find(scope.folders.begin(), scope.folders.end(), folder_of(w)) == scope.folders.end())
            scope.folders.push_back(folder_of(w));
    return scope;
}

std::optional<std::string> check_folder(const ObjectTable& table, const std::string& kind, const RunInputs& in,
                                        forms::FileSystem& files, CheckedRun& run) {
    const std::vector<std::string>& writes = run.plan.writes;
    if (!files.is_directory(in.folder)) return "The output folder " + quoted(in.folder) + " does not exist.";

    // Every folder a run touches lies inside the output folder and can be written.
    const std::string root = files.resolved(in.folder);
    // The purge list first, in its order, then any other folder written into.
    std::vector<std::string> folders(table.purge.begin(), table.purge.end());
    const auto add = [&](const std::string& folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    };
    for (const std::string& w : writes) add(folder_of(w));
    for (const auto& r : run.plan.renames) add(folder_of(r.first));
    for (const std::string& folder : folders)
        if (const Reason why = bad_folder(in, folder, kind, root, files)) return why;

    // What stands at each written path, asked once.
    std::vector<forms::Found> at_writes;
    for (const std::string& rel : writes) {
        if (const Reason why = too_long(in, rel)) return why;
        const std::string path = local(in, rel);
        const forms::Found there = at_writes.emplace_back(files.stat(path));
        const bool link = there.type == forms::Entry::Link;
        if (there.type == forms::Entry::Folder || (link && files.is_directory(path)))
            return "A folder stands where the file " + quoted(path) +
                   " is to be written. Move or rename that folder and try again.";
        if (link)
            if (const Reason why = linked_file(files, path)) return why;
    }
    Listings listings(files, in);
    for (auto& [from, to] : run.plan.renames) {
        if (const Reason why = too_long(in, to)) return why;
        const std::string path = local(in, from);
        const forms::Found stock = files.stat(path);
        switch (stock.type) {
            case forms::Entry::File: break;
            case forms::Entry::None:
                return "The file " + quoted(path) + " of the stock " + kind +
                       " is missing: is this the copied folder, not yet duplicated?";
            case forms::Entry::Link:
                if (const Reason why = linked_file(files, path)) return why;
                break;
            default:
                return "The file " + quoted(path) + " of the stock " + kind +
                       " is not a file. Move or rename what stands there and try again.";
        }
        if (files.exists(local(in, to))) return "The file " + quoted(local(in, to)) + " already exists.";
        // Renamed from the name its folder lists, so that a put-back gives
        // it back that name.
        if (const auto listed = listings.entry_for(from, stock))
            from = folder_of(from) == "." ? listed->name : folder_of(from) + "\\" + listed->name;
    }
    run.plan.set_aside.clear();
    return set_aside(table, in, writes, at_writes, files, listings, run.plan.set_aside);
}

}  // namespace duplication
