#pragma once

#include <string_view>

// Where the session's link stands. Closed: no port open. Connecting: the
// connect script reads the instrument's lists. Ready: connected, nothing
// runs. Busy: a download, upload or erase runs. Recovering: the abort
// commands or the lists read again after an operation was cut off. Lost:
// the line went away; only closing the port helps.
enum class LinkState { Closed, Connecting, Ready, Busy, Recovering, Lost };

std::string_view LinkStateName(LinkState state);
