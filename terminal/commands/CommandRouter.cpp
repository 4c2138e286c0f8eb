#include "CommandRouter.h"

CCmdUI CommandRouter::Query(const Chain& chain, int id)
{
    CCmdUI state(id);
    bool handled = false;
    for (const CommandTable* table : chain) {
        const CommandTable::Entry* entry = table ? table->Find(id) : nullptr;
        if (!entry)
            continue;
        if (entry->rule) {
            entry->rule(state);
            return state;
        }
        handled = handled || static_cast<bool>(entry->handler);
    }
    state.Enable(handled);
    return state;
}

bool CommandRouter::Dispatch(const Chain& chain, int id)
{
    if (!Query(chain, id).m_bEnabled)
        return false;
    for (const CommandTable* table : chain) {
        const CommandTable::Entry* entry = table ? table->Find(id) : nullptr;
        if (entry && entry->handler) {
            // Copy: the handler may close the window that owns the table.
            CommandTable::Handler handler = entry->handler;
            handler();
            return true;
        }
    }
    return false;
}
