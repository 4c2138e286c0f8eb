#pragma once
#include "CCmdUI.h"

#include <functional>
#include <map>

// The commands one target (view, document, frame, application) answers:
// id -> handler and update rule. A pane has a rule and no handler.
class CommandTable {
public:
    using Handler = std::function<void()>;
    using UpdateRule = std::function<void(CCmdUI&)>;

    struct Entry {
        Handler handler;
        UpdateRule rule;
    };

    void Add(int id, Handler handler, UpdateRule rule = {});
    void AddUpdateRule(int id, UpdateRule rule);
    const Entry* Find(int id) const;

private:
    std::map<int, Entry> m_entries;
};
