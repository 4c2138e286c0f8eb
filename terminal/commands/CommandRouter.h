#pragma once
#include "CCmdUI.h"
#include "CommandTable.h"

#include <vector>

// The one road of every command: menus, keys, toolbar buttons and posted
// commands all ask the chain of targets, first to last. The first update rule
// found decides; without one, a handler means enabled and nothing disabled.
// A disabled command is dropped without a word.
class CommandRouter {
public:
    using Chain = std::vector<const CommandTable*>;

    static CCmdUI Query(const Chain& chain, int id);
    // True when a handler ran.
    static bool Dispatch(const Chain& chain, int id);
};
