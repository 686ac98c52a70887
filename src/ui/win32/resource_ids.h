/* Resource identifiers shared by the resource script and the code. Plain C: windres reads it. */
#pragma once

#define PROXY_LIST_TOOL_ICON 1
