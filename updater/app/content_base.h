// The content server base URL built into this program (path "/zorvik/Wakfu/").
#pragma once

const wchar_t* ContentBaseUrl();
