#pragma once
// The Cover-Search dialog's resource and control numbers, shared by the
// resource script and the code.

#define TUNORA_DIALOG_COVER_SEARCH 130

#define TUNORA_COVER_KEYWORDS 1206
#define TUNORA_COVER_STORE 1076
#define TUNORA_COVER_SEARCH 1056
#define TUNORA_COVER_RESULTS 1074
#define TUNORA_COVER_PICTURE 1026
#define TUNORA_COVER_STATUS 1077
#define TUNORA_COVER_OPEN_PAGE 1022
#define TUNORA_COVER_SAVE_EDIT 1078
#define TUNORA_COVER_SAVE 1079
#define TUNORA_COVER_EXIT 1080
