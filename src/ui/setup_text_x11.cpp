#include "base/catalogue.h"
#include "ui/setup_text.h"

const char* const kPickScreenSaverText = N_("下の「セットアップ開始」ボタンを押した後、「説明」の");
const char* const kPickScreenSaverText2 = N_("「スクリーンセーバーとして使う」をご覧下さい。");
