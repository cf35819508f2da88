// Lines of command files and what expanding their environment variables gives, with the
// variables below set (and TAV_UNSET_X not): natively against a block made of them, under Wine
// also against the platform's ExpandEnvironmentStringsW with them set in the process.
#pragma once

namespace tav::test {

struct SetVariable {
  const char16_t *name, *value;
};
inline constexpr SetVariable kExpansionVariables[] = {
    {u"TAV_HOME_X", u"C:\\Users\\ta v"},
    {u"TAV_APPS_X", u"C:\\Users\\ta v\\AppData\\Local"},
    {u"TAV_QUOTED_X", u"a \"b c\" d"},
    {u"TAV_PERCENT_X", u"%TAV_HOME_X%"},  // not expanded again
    {u"TAV_EMPTY_X", u""},
    {u"TAV_名前_X", u"値"},
};

struct ExpansionCase {
  const char16_t *line, *expanded;
};
inline constexpr ExpansionCase kExpansionCases[] = {
    {u"notepad.exe %TAV_HOME_X%\\memo.txt", u"notepad.exe C:\\Users\\ta v\\memo.txt"},
    {u"\"%TAV_APPS_X%\\Programs\\x\\x.exe\" /a", u"\"C:\\Users\\ta v\\AppData\\Local\\Programs\\x\\x.exe\" /a"},
    {u"%tav_home_x%", u"C:\\Users\\ta v"},  // names compare without regard to case
    {u"x.exe \"%TAV_QUOTED_X%\" '%TAV_QUOTED_X%'", u"x.exe \"a \"b c\" d\" 'a \"b c\" d'"},
    {u"x.exe %TAV_UNSET_X%\\a %TAV_UNSET_X%", u"x.exe %TAV_UNSET_X%\\a %TAV_UNSET_X%"},
    {u"x.exe 100%% %%TAV_HOME_X%%", u"x.exe 100%% %%TAV_HOME_X%%"},
    {u"x.exe %% %TAV_HOME_X%", u"x.exe %% C:\\Users\\ta v"},  // "%%" is an empty name, not set
    {u"x.exe https://example.org/a%20b/%E3%81%82?q=%TAV_HOME_X%",
     u"x.exe https://example.org/a%20b/%E3%81%82?q=C:\\Users\\ta v"},
    {u"x.exe %TAV_UNSET_X%TAV_HOME_X%", u"x.exe %TAV_UNSET_X%TAV_HOME_X%"},
    {u"%TAV_HOME_X%%TAV_HOME_X%", u"C:\\Users\\ta vC:\\Users\\ta v"},
    {u"x.exe %TAV_PERCENT_X%", u"x.exe %TAV_HOME_X%"},
    {u"x.exe [%TAV_EMPTY_X%]", u"x.exe []"},
    {u"x.exe 50% off", u"x.exe 50% off"},
    {u"x.exe %TAV_名前_X%", u"x.exe 値"},
    {u"%", u"%"},
    {u"", u""},
};

}  // namespace tav::test
