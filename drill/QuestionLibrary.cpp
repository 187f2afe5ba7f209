#include "drill/QuestionLibrary.h"

#include "drill/QuestionScript.h"
#include "platform/Files.h"
#include "script/Numbers.h"

#include <algorithm>

namespace numbrelle {

std::string QuestionFolder(FileSystem& files) { return files.programFolder() + "/questions"; }

Text DisplayNameOf(std::size_t index, TextView title)
{
    return IntegerText(static_cast<std::int32_t>(index + 1)) + u"_" + Text(title);
}

void QuestionLibrary::Load(FileSystem& files, QuestionScript& script, const AfterFile& afterFile)
{
    const std::string folder = QuestionFolder(files);
    const std::vector<std::string> names = files.listFiles(folder);
    create(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        LoadQuestionFile(i, folder + "/" + names[i], files, script);
        if (afterFile && !afterFile(i, names.size()))
            return;
    }
}

void QuestionLibrary::create(std::size_t count)
{
    m_entries.assign(count, QuestionEntry {});
    m_loaded = 0;
}

void QuestionLibrary::LoadQuestionFile(
    std::size_t index, const std::string& path, FileSystem& files, QuestionScript& script)
{
    QuestionEntry& entry = m_entries.at(index);
    entry.Path = path;
    script.BuildStatementList(ReadQuestionFile(files, entry.Path));
    script.RunScript();
    const QuestionRecord& record = script.record();
    entry.DisplayName = DisplayNameOf(index, record.title);
    entry.Category = record.categoryText;
    entry.Description = record.descriptionText;
    m_loaded = std::max(m_loaded, index + 1);
}

std::vector<Text> QuestionLibrary::categories() const
{
    std::vector<Text> list { allCategories };
    for (std::size_t i = 0; i < m_loaded; ++i) {
        const Text& category = m_entries[i].Category;
        if (std::find(list.begin(), list.end(), category) == list.end())
            list.push_back(category);
    }
    return list;
}

std::vector<Text> QuestionLibrary::displayNames(TextView category) const
{
    std::vector<Text> names;
    const bool all = category == allCategories;
    for (const QuestionEntry& entry : m_entries) {
        if (all || entry.Category == category)
            names.push_back(entry.DisplayName);
    }
    return names;
}

Text QuestionLibrary::FindDescription(TextView displayName) const
{
    const QuestionEntry* entry = entryNamed(displayName);
    return entry ? entry->Description : Text();
}

const QuestionEntry* QuestionLibrary::entryNamed(TextView displayName) const
{
    for (const QuestionEntry& entry : m_entries) {
        if (entry.DisplayName == displayName)
            return &entry;
    }
    return nullptr;
}

} // namespace numbrelle
