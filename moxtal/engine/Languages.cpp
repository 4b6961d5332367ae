#include "moxtal/api/Languages.h"

#include <algorithm>

namespace mx {

namespace {

// The Windows locales, from the published list of locale identifiers.
struct TLanguageRow {
  const char* Name;
  std::int32_t Lcid;
};
constexpr TLanguageRow kLanguages[] = {
    {"Arabic (Saudi Arabia)", 0x0401},
    {"Bulgarian (Bulgaria)", 0x0402},
    {"Catalan (Catalan)", 0x0403},
    {"Chinese (Taiwan)", 0x0404},
    {"Czech (Czech Republic)", 0x0405},
    {"Danish (Denmark)", 0x0406},
    {"German (Germany)", 0x0407},
    {"Greek (Greece)", 0x0408},
    {"English (United States)", 0x0409},
    {"Spanish (Spain, Traditional Sort)", 0x040A},
    {"Finnish (Finland)", 0x040B},
    {"French (France)", 0x040C},
    {"Hebrew (Israel)", 0x040D},
    {"Hungarian (Hungary)", 0x040E},
    {"Icelandic (Iceland)", 0x040F},
    {"Italian (Italy)", 0x0410},
    {"Japanese (Japan)", 0x0411},
    {"Korean (Korea)", 0x0412},
    {"Dutch (Netherlands)", 0x0413},
    {"Norwegian, Bokm\xC3\xA5l (Norway)", 0x0414},
    {"Polish (Poland)", 0x0415},
    {"Portuguese (Brazil)", 0x0416},
    {"Romanian (Romania)", 0x0418},
    {"Russian (Russia)", 0x0419},
    {"Croatian (Croatia)", 0x041A},
    {"Slovak (Slovakia)", 0x041B},
    {"Albanian (Albania)", 0x041C},
    {"Swedish (Sweden)", 0x041D},
    {"Thai (Thailand)", 0x041E},
    {"Turkish (Turkey)", 0x041F},
    {"Urdu (Islamic Republic of Pakistan)", 0x0420},
    {"Indonesian (Indonesia)", 0x0421},
    {"Ukrainian (Ukraine)", 0x0422},
    {"Belarusian (Belarus)", 0x0423},
    {"Slovenian (Slovenia)", 0x0424},
    {"Estonian (Estonia)", 0x0425},
    {"Latvian (Latvia)", 0x0426},
    {"Lithuanian (Lithuania)", 0x0427},
    {"Farsi (Iran)", 0x0429},
    {"Vietnamese (Vietnam)", 0x042A},
    {"Armenian (Armenia)", 0x042B},
    {"Azeri (Latin, Azerbaijan)", 0x042C},
    {"Basque (Basque)", 0x042D},
    {"FYRO Macedonian (Former Yugoslav Republic of Macedonia)", 0x042F},
    {"Afrikaans (South Africa)", 0x0436},
    {"Georgian (Georgia)", 0x0437},
    {"Faroese (Faroe Islands)", 0x0438},
    {"Hindi (India)", 0x0439},
    {"Malay (Malaysia)", 0x043E},
    {"Kazakh (Kazakhstan)", 0x043F},
    {"Kyrgyz (Kyrgyzstan)", 0x0440},
    {"Swahili (Kenya)", 0x0441},
    {"Uzbek (Latin, Uzbekistan)", 0x0443},
    {"Tatar (Russia)", 0x0444},
    {"Punjabi (India)", 0x0446},
    {"Gujarati (India)", 0x0447},
    {"Tamil (India)", 0x0449},
    {"Telugu (India)", 0x044A},
    {"Kannada (India)", 0x044B},
    {"Marathi (India)", 0x044E},
    {"Sanskrit (India)", 0x044F},
    {"Mongolian (Cyrillic, Mongolia)", 0x0450},
    {"Galician (Galician)", 0x0456},
    {"Konkani (India)", 0x0457},
    {"Syriac (Syria)", 0x045A},
    {"Divehi (Maldives)", 0x0465},
    {"Arabic (Iraq)", 0x0801},
    {"Chinese (People's Republic of China)", 0x0804},
    {"German (Switzerland)", 0x0807},
    {"English (United Kingdom)", 0x0809},
    {"Spanish (Mexico)", 0x080A},
    {"French (Belgium)", 0x080C},
    {"Italian (Switzerland)", 0x0810},
    {"Dutch (Belgium)", 0x0813},
    {"Norwegian, Nynorsk (Norway)", 0x0814},
    {"Portuguese (Portugal)", 0x0816},
    {"Serbian (Latin, Serbia)", 0x081A},
    {"Swedish (Finland)", 0x081D},
    {"Azeri (Cyrillic, Azerbaijan)", 0x082C},
    {"Malay (Brunei Darussalam)", 0x083E},
    {"Uzbek (Cyrillic, Uzbekistan)", 0x0843},
    {"Arabic (Egypt)", 0x0C01},
    {"Chinese (Hong Kong S.A.R.)", 0x0C04},
    {"German (Austria)", 0x0C07},
    {"English (Australia)", 0x0C09},
    {"Spanish (Spain, International Sort)", 0x0C0A},
    {"French (Canada)", 0x0C0C},
    {"Serbian (Cyrillic, Serbia)", 0x0C1A},
    {"Arabic (Libya)", 0x1001},
    {"Chinese (Singapore)", 0x1004},
    {"German (Luxembourg)", 0x1007},
    {"English (Canada)", 0x1009},
    {"Spanish (Guatemala)", 0x100A},
    {"French (Switzerland)", 0x100C},
    {"Arabic (Algeria)", 0x1401},
    {"Chinese (Macao S.A.R.)", 0x1404},
    {"German (Liechtenstein)", 0x1407},
    {"English (New Zealand)", 0x1409},
    {"Spanish (Costa Rica)", 0x140A},
    {"French (Luxembourg)", 0x140C},
    {"Arabic (Morocco)", 0x1801},
    {"English (Ireland)", 0x1809},
    {"Spanish (Panama)", 0x180A},
    {"French (Principality of Monaco)", 0x180C},
    {"Arabic (Tunisia)", 0x1C01},
    {"English (South Africa)", 0x1C09},
    {"Spanish (Dominican Republic)", 0x1C0A},
    {"Arabic (Oman)", 0x2001},
    {"English (Jamaica)", 0x2009},
    {"Spanish (Venezuela)", 0x200A},
    {"Arabic (Yemen)", 0x2401},
    {"English (Caribbean)", 0x2409},
    {"Spanish (Colombia)", 0x240A},
    {"Arabic (Syria)", 0x2801},
    {"English (Belize)", 0x2809},
    {"Spanish (Peru)", 0x280A},
    {"Arabic (Jordan)", 0x2C01},
    {"English (Trinidad and Tobago)", 0x2C09},
    {"Spanish (Argentina)", 0x2C0A},
    {"Arabic (Lebanon)", 0x3001},
    {"English (Zimbabwe)", 0x3009},
    {"Spanish (Ecuador)", 0x300A},
    {"Arabic (Kuwait)", 0x3401},
    {"English (Republic of the Philippines)", 0x3409},
    {"Spanish (Chile)", 0x340A},
    {"Arabic (U.A.E.)", 0x3801},
    {"Spanish (Uruguay)", 0x380A},
    {"Arabic (Bahrain)", 0x3C01},
    {"Spanish (Paraguay)", 0x3C0A},
    {"Arabic (Qatar)", 0x4001},
    {"Spanish (Bolivia)", 0x400A},
    {"Spanish (El Salvador)", 0x440A},
    {"Spanish (Honduras)", 0x480A},
    {"Spanish (Nicaragua)", 0x4C0A},
    {"Spanish (Puerto Rico)", 0x500A},
};

}  // namespace

const std::vector<TLanguage>& MxLanguages() {
  static const std::vector<TLanguage> languages = [] {
    std::vector<TLanguage> list;
    for (const auto& [name, lcid] : kLanguages)
      list.push_back({name, lcid});
    return list;
  }();
  return languages;
}

int IndexOfLcid(std::int32_t lcid) {
  const auto& languages = MxLanguages();
  const auto it = std::find_if(languages.begin(), languages.end(),
                               [lcid](const TLanguage& l) { return l.Lcid == lcid; });
  return it == languages.end() ? -1 : static_cast<int>(it - languages.begin());
}

}  // namespace mx
