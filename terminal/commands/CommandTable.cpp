#include "CommandTable.h"

void CommandTable::Add(int id, Handler handler, UpdateRule rule)
{
    m_entries[id] = Entry{std::move(handler), std::move(rule)};
}

void CommandTable::AddUpdateRule(int id, UpdateRule rule)
{
    m_entries[id].rule = std::move(rule);
}

const CommandTable::Entry* CommandTable::Find(int id) const
{
    auto found = m_entries.find(id);
    return found == m_entries.end() ? nullptr : &found->second;
}
