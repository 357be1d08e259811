#include "base/catalogue.h"
#include "ui/setup_text.h"

const char* const kPickScreenSaverText = N_("下の「セットアップ開始」ボタンを押した後、「画面のプロパティ」で");
const char* const kPickScreenSaverText2 = N_("スクリーンセーバー「zuk_rer1」を選んで下さい。");
