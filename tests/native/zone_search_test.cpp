// Finding a zone by what people type, over a part of Windows' list with its own display names and
// the table of places.
#include "clock/zone_search.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "clock/country_week.h"
#include "clock/zone_places.h"

namespace {

// In Windows' order.
const std::vector<ZoneEntry> ZONES = {
    {"Pacific Standard Time", "(UTC-08:00) Pacific Time (US & Canada)", 480},
    {"Central America Standard Time", "(UTC-06:00) Central America", 360},
    {"Central Standard Time", "(UTC-06:00) Central Time (US & Canada)", 360},
    {"SA Pacific Standard Time", "(UTC-05:00) Bogota, Lima, Quito, Rio Branco", 300},
    {"Eastern Standard Time", "(UTC-05:00) Eastern Time (US & Canada)", 300},
    {"US Eastern Standard Time", "(UTC-05:00) Indiana (East)", 300},
    {"Atlantic Standard Time", "(UTC-04:00) Atlantic Time (Canada)", 240},
    {"SA Western Standard Time", "(UTC-04:00) Georgetown, La Paz, Manaus, San Juan", 240},
    {"E. South America Standard Time", "(UTC-03:00) Brasilia", 180},
    {"Bahia Standard Time", "(UTC-03:00) Salvador", 180},
    {"GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London", 0},
    {"Greenwich Standard Time", "(UTC+00:00) Monrovia, Reykjavik", 0},
    {"W. Europe Standard Time", "(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", -60},
    {"GTB Standard Time", "(UTC+02:00) Athens, Bucharest", -120},
    {"Israel Standard Time", "(UTC+02:00) Jerusalem", -120},
    {"Turkey Standard Time", "(UTC+03:00) Istanbul", -180},
    {"Russian Standard Time", "(UTC+03:00) Moscow, St. Petersburg", -180},
    {"India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330},
    {"Nepal Standard Time", "(UTC+05:45) Kathmandu", -345},
    {"SE Asia Standard Time", "(UTC+07:00) Bangkok, Hanoi, Jakarta", -420},
    {"China Standard Time", "(UTC+08:00) Beijing, Chongqing, Hong Kong, Urumqi", -480},
    {"Tokyo Standard Time", "(UTC+09:00) Osaka, Sapporo, Tokyo", -540},
};

// Every zone of the table, named by its key name; the display names are the system's.
std::vector<ZoneEntry> TableZones() {
  std::vector<ZoneEntry> zones;
  for (const char* key : ZoneKeys()) zones.push_back(ZoneEntry{key, std::string("(UTC) ") + key, 0});
  return zones;
}

struct SearchCase {
  const char* text;
  std::vector<std::string> keys;  // the first zones found, in order
  const char* firstNote;
  const char* firstCountry;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ZoneSearches : public ::testing::TestWithParam<SearchCase> {};

TEST_P(ZoneSearches, TakeTheZoneOfWhatPeopleTypeBestFirst) {
  const std::vector<ZoneMatch> found = ZoneSearch(ZONES).Find(GetParam().text);
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < found.size() && i < GetParam().keys.size(); ++i) keys.push_back(ZONES[found[i].zone].keyName);
  EXPECT_EQ(GetParam().keys, keys);
  if (GetParam().keys.empty()) EXPECT_TRUE(found.empty());
  if (found.empty()) return;
  EXPECT_EQ(GetParam().firstNote, found[0].note);
  EXPECT_EQ(GetParam().firstCountry, found[0].countryCode);
}

const SearchCase SEARCH_CASES[] = {
    // Cities by their usual names, their own and their old ones, with or without accents.
    {"San Francisco", {"Pacific Standard Time"}, "San Francisco, United States", "US"},
    {"Munich", {"W. Europe Standard Time"}, "Munich, Germany", "DE"},
    {"M\xc3\xbcnchen", {"W. Europe Standard Time"}, "Munich, Germany", "DE"},
    {"  muenchen ", {"W. Europe Standard Time"}, "Munich, Germany", "DE"},
    {"Bengaluru", {"India Standard Time"}, "Bengaluru, India", "IN"},
    {"Bombay", {"India Standard Time"}, "Mumbai, India", "IN"},
    {"Tel Aviv", {"Israel Standard Time"}, "Tel Aviv, Israel", "IL"},
    {"S\xc3\xa3o Paulo", {"E. South America Standard Time"}, "S\xc3\xa3o Paulo, Brazil", "BR"},
    {"Saigon", {"SE Asia Standard Time"}, "Ho Chi Minh City, Vietnam", "VN"},
    {"Xi\xe2\x80\x99" "an", {"China Standard Time"}, "Xi'an, China", "CN"},
    {"Timisoara", {"GTB Standard Time"}, "Timi\xc8\x99oara, Romania", "RO"},
    // A text that only adds " City" to a name.
    {"Ho Chi Minh City", {"SE Asia Standard Time"}, "Ho Chi Minh City, Vietnam", "VN"},
    {"New York City", {"Eastern Standard Time"}, "New York, United States", "US"},
    {"Jersey City", {"Eastern Standard Time"}, "Jersey City, United States", "US"},  // not Jersey, the island
    // The whole name before a word's start, and the bigger of two cities first.
    {"London", {"GMT Standard Time", "Eastern Standard Time"}, "", "GB"},
    {"Salvador", {"Bahia Standard Time", "Central America Standard Time"}, "", "BR"},
    {"Porto", {"GMT Standard Time"}, "Porto, Portugal", "PT"},
    {"Van", {"Turkey Standard Time"}, "Van, Turkey", "TR"},
    {"Moscow", {"Russian Standard Time"}, "", "RU"},
    // A zone's name that only starts with the text comes after a place that the text starts as well.
    {"Rio", {"E. South America Standard Time"}, "Rio de Janeiro, Brazil", "BR"},
    // Countries by what people call them, their zones where most people live first.
    {"United States", {"Eastern Standard Time", "Central Standard Time", "Pacific Standard Time"},
     "New York, United States", "US"},
    {"USA", {"Eastern Standard Time"}, "New York, United States", "US"},
    {"UK", {"GMT Standard Time"}, "London, United Kingdom", "GB"},
    {"England", {"GMT Standard Time"}, "London, United Kingdom", "GB"},
    {"Canada", {"Eastern Standard Time", "Pacific Standard Time"}, "", "CA"},
    {"Russia", {"Russian Standard Time"}, "Moscow, Russia", "RU"},
    {"Brazil", {"E. South America Standard Time"}, "S\xc3\xa3o Paulo, Brazil", "BR"},
    {"T\xc3\xbcrkiye", {"Turkey Standard Time"}, "Istanbul, Turkey", "TR"},
    // tzdata's comments, and the zones' own names.
    // The province's part in Labrador is bigger than Goose Bay, whose comment names it.
    {"Labrador", {"Atlantic Standard Time"}, "Newfoundland and Labrador, Canada", "CA"},
    {"w. europe", {"W. Europe Standard Time"}, "W. Europe Standard Time", ""},
    {"Kathmandu", {"Nepal Standard Time"}, "", "NP"},
    {"Atlantis", {}, "", ""},
    {"\xc3", {}, "", ""},
    {"a\nb", {}, "", ""},
};
INSTANTIATE_TEST_SUITE_P(Texts, ZoneSearches, ::testing::ValuesIn(SEARCH_CASES));

TEST(ZoneSearch, ListsTheBestFiftyOfManyAndEveryZoneForABlankText) {
  const std::vector<ZoneEntry> zones = TableZones();
  const ZoneSearch search(zones);
  EXPECT_EQ(ZoneSearch::MOST_MATCHES, search.Find("a").size());
  EXPECT_EQ(zones.size(), search.Find(" ").size());
  EXPECT_GT(zones.size(), ZoneSearch::MOST_MATCHES);
}

struct TableCase {
  const char* text;
  const char* key;   // the first zone found
  const char* note;  // its note
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class TableSearches : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableSearches, FindTheZoneOfTheWholeTable) {
  static const std::vector<ZoneEntry> zones = TableZones();
  static const ZoneSearch search(zones);
  const std::vector<ZoneMatch> found = search.Find(GetParam().text);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(GetParam().key, zones[found[0].zone].keyName);
  EXPECT_EQ(GetParam().note, found[0].note);
}

// Cities of today's data: those the older table lacked or put in a stale zone, and by the names
// they have now and had before, today's shown.
const TableCase CITY_CASES[] = {
    {"Zhongshan", "China Standard Time", "Zhongshan, China"},
    {"Lianyungang", "China Standard Time", "Lianyungang, China"},
    {"Astrakhan", "Astrakhan Standard Time", ""},  // the zone's own name holds it
    {"Biysk", "Altai Standard Time", "Biysk, Russia"},
    {"Yei", "South Sudan Standard Time", "Yei, South Sudan"},  // not Myeik
    {"Gurugram", "India Standard Time", "Gurugram, India"},
    {"Gurgaon", "India Standard Time", "Gurugram, India"},
    {"Chittagong", "Bangladesh Standard Time", "Chattogram, Bangladesh"},
    {"Port Elizabeth", "South Africa Standard Time", "Gqeberha, South Africa"},
    {"Sarasota", "Eastern Standard Time", "Sarasota, United States"},  // 55,000 people
    {"Valletta", "W. Europe Standard Time", "Valletta, Malta"},        // a capital of 6,794
    {"Pierre", "Central Standard Time", "Pierre, United States"},      // a state's seat of 13,646
    // Seats counted under 100,000 people or not at all: a state's, a county-level city of China.
    {"Harrisburg", "Eastern Standard Time", "Harrisburg, United States"},
    {"Huludao", "China Standard Time", "Huludao, China"},
    {"Fuqing", "China Standard Time", "Fuqing, China"},
    {"Meilu", "China Standard Time", "Meilu, China"},  // Urumqi's clock in GeoNames, Beijing's on the map
};
INSTANTIATE_TEST_SUITE_P(Cities, TableSearches, ::testing::ValuesIn(CITY_CASES));

// Regions, by their names and short forms; a region that is also a smaller place's name first.
const TableCase REGION_NAME_CASES[] = {
    {"Texas", "Central Standard Time", "Texas, United States"},
    {"Florida", "Eastern Standard Time", "Florida, United States"},  // not Floridablanca
    {"California", "Pacific Standard Time", "California, United States"},  // not Baja California
    {"NSW", "AUS Eastern Standard Time", "New South Wales, Australia"},
    {"Bavaria", "W. Europe Standard Time", "Bavaria, Germany"},
    {"Bayern", "W. Europe Standard Time", "Bavaria, Germany"},
    {"Guangdong", "China Standard Time", "Guangdong, China"},
    {"Maharashtra", "India Standard Time", "Maharashtra, India"},
};
INSTANTIATE_TEST_SUITE_P(Regions, TableSearches, ::testing::ValuesIn(REGION_NAME_CASES));

// Names as people write them, in any script and case; namesakes in one country tell their regions.
const TableCase WRITTEN_CASES[] = {
    {"Bosnia and Herzegovina", "Central European Standard Time", "Sarajevo, Bosnia & Herzegovina"},
    {"Trinidad & Tobago", "SA Western Standard Time", "Chaguanas, Trinidad & Tobago"},
    {"Saint Lucia", "SA Western Standard Time", "Castries, St. Lucia"},  // its capital
    {"St Kitts and Nevis", "SA Western Standard Time", "Basseterre, St. Kitts & Nevis"},
    {"  new  york  ", "Eastern Standard Time", "New York, United States"},
    {"Democratic Republic of the Congo", "W. Central Africa Standard Time", "Kinshasa, Congo - Kinshasa"},
    {"\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0", "Russian Standard Time", "Moscow, Russia"},  // Москва
    {"\xd0\xbc\xd0\x9e\xd0\xa1\xd0\x9a\xd0\x92\xd0\x90", "Russian Standard Time", "Moscow, Russia"},  // мОСКВА
    {"\xe6\x9d\xb1\xe4\xba\xac", "Tokyo Standard Time", "Tokyo, Japan"},                         // 東京
    {"\xd8\xa7\xd9\x84\xd9\x82\xd8\xa7\xd9\x87\xd8\xb1\xd8\xa9", "Egypt Standard Time", "Cairo, Egypt"},  // القاهرة
    {"\xec\x84\x9c\xec\x9a\xb8", "Korea Standard Time", "Seoul, South Korea"},                  // 서울
    {"\xce\x91\xce\x98\xce\x89\xce\x9d\xce\x91", "GTB Standard Time", "Athens, Greece"},  // ΑΘΉΝΑ
    {"Columbia", "Eastern Standard Time", "Columbia, South Carolina, United States"},
    {"Winston Salem", "Eastern Standard Time", "Winston-Salem, United States"},  // a hyphen is a space
    {"port au prince", "Haiti Standard Time", "Port-au-Prince, Haiti"},
    {"Nampo", "North Korea Standard Time", "Namp'o, North Korea"},  // without the apostrophe
    {"Ba\xe2\x80\x98q\xc5\xab" "bah", "Arabic Standard Time", "Baqubah, Iraq"},  // Ba‘qūbah: the ayin's mark
    {"Ad Dammam", "Arab Standard Time", "Dammam, Saudi Arabia"},      // Arabic's article written
    {"Al-Riyadh", "Arab Standard Time", "Riyadh, Saudi Arabia"},
    {"H\xe1\xbb\x93 Ch\xc3\xad Minh", "SE Asia Standard Time", "Ho Chi Minh City, Vietnam"},  // Hồ Chí Minh
};
INSTANTIATE_TEST_SUITE_P(Written, TableSearches, ::testing::ValuesIn(WRITTEN_CASES));

struct RegionCase {
  const char* country;
  const char* key;  // the zone where most of the region's people live
  std::vector<const char*> regions;
};

// Every first-level region of the countries with many zones, typed by its name as ISO 3166-2 and
// CLDR write it in English, and the zone where most of its people live.
const RegionCase REGION_CASES[] = {
    {"US", "Eastern Standard Time",
     {"Connecticut", "Delaware", "District of Columbia", "Florida", "Georgia, United States", "Kentucky", "Maine",
      "Maryland", "Massachusetts", "Michigan", "New Hampshire", "New Jersey", "New York", "North Carolina", "Ohio",
      "Pennsylvania", "Rhode Island", "South Carolina", "Vermont", "Virginia", "West Virginia"}},
    {"US", "US Eastern Standard Time", {"Indiana"}},
    {"US", "Central Standard Time",
     {"Alabama", "Arkansas", "Illinois", "Iowa", "Kansas", "Louisiana", "Minnesota", "Mississippi", "Missouri",
      "Nebraska", "North Dakota", "Oklahoma", "South Dakota", "Tennessee", "Texas", "Wisconsin"}},
    {"US", "Mountain Standard Time", {"Colorado", "Idaho", "Montana", "New Mexico", "Utah", "Wyoming"}},
    {"US", "US Mountain Standard Time", {"Arizona"}},
    {"US", "Pacific Standard Time", {"California", "Nevada", "Oregon", "Washington"}},
    {"US", "Alaskan Standard Time", {"Alaska"}},
    {"US", "Hawaiian Standard Time", {"Hawaii"}},
    {"CA", "Eastern Standard Time", {"Ontario", "Quebec", "Nunavut"}},
    {"CA", "Pacific Standard Time", {"British Columbia"}},
    {"CA", "Mountain Standard Time", {"Alberta", "Northwest Territories"}},
    {"CA", "Yukon Standard Time", {"Yukon"}},
    {"CA", "Central Standard Time", {"Manitoba"}},
    {"CA", "Canada Central Standard Time", {"Saskatchewan"}},
    {"CA", "Atlantic Standard Time", {"Nova Scotia", "New Brunswick", "Prince Edward Island"}},
    {"CA", "Newfoundland Standard Time", {"Newfoundland and Labrador"}},
    {"AU", "AUS Eastern Standard Time", {"New South Wales", "NSW", "Victoria", "Australian Capital Territory"}},
    {"AU", "E. Australia Standard Time", {"Queensland"}},
    {"AU", "Cen. Australia Standard Time", {"South Australia"}},
    {"AU", "AUS Central Standard Time", {"Northern Territory"}},
    {"AU", "W. Australia Standard Time", {"Western Australia"}},
    {"AU", "Tasmania Standard Time", {"Tasmania"}},
    {"BR", "E. South America Standard Time",
     {"S\xc3\xa3o Paulo", "Rio de Janeiro", "Minas Gerais", "Paran\xc3\xa1", "Santa Catarina", "Rio Grande do Sul",
      "Esp\xc3\xadrito Santo", "Goi\xc3\xa1s", "Federal District"}},
    // The same clock, under the zones Windows keeps for the north-east, Bahia and Tocantins.
    {"BR", "SA Eastern Standard Time",
     {"Pernambuco", "Cear\xc3\xa1", "Maranh\xc3\xa3o", "Para\xc3\xad" "ba", "Rio Grande do Norte", "Alagoas", "Sergipe",
      "Piau\xc3\xad", "Par\xc3\xa1", "Amap\xc3\xa1"}},
    {"BR", "Bahia Standard Time", {"Bahia"}},
    {"BR", "Tocantins Standard Time", {"Tocantins"}},
    {"BR", "Central Brazilian Standard Time", {"Mato Grosso", "Mato Grosso do Sul"}},
    {"BR", "SA Western Standard Time", {"Amazonas", "Rond\xc3\xb4nia", "Roraima"}},
    {"BR", "SA Pacific Standard Time", {"Acre"}},
    {"MX", "Central Standard Time (Mexico)",
     {"Aguascalientes", "Campeche", "Chiapas", "Chihuahua", "Coahuila", "Colima", "Durango", "Guanajuato", "Guerrero", "Hidalgo",
      "Jalisco", "Mexico City", "Mexico State", "Michoac\xc3\xa1n", "Morelos", "Nuevo Le\xc3\xb3n", "Oaxaca",
      "Puebla", "Quer\xc3\xa9taro", "San Luis Potos\xc3\xad", "Tabasco", "Tlaxcala", "Veracruz",
      "Yucat\xc3\xa1n", "Zacatecas"}},
    {"MX", "Pacific Standard Time (Mexico)", {"Baja California"}},
    {"MX", "US Mountain Standard Time", {"Baja California Sur", "Nayarit", "Sinaloa", "Sonora"}},
    {"MX", "Eastern Standard Time (Mexico)", {"Quintana Roo"}},
    // Most of Tamaulipas lives in the cities that keep the United States' clock: Reynosa, Matamoros
    // and Nuevo Laredo. Most of Chihuahua does not: Ciudad Juárez is a third.
    {"MX", "Central Standard Time", {"Tamaulipas"}},
    {"RU", "Kaliningrad Standard Time", {"Kaliningrad"}},
    {"RU", "Russian Standard Time",
     {"Adygea", "Arkhangelsk", "Belgorod", "Bryansk", "Chechen", "Chuvash", "Dagestan", "Ingushetia", "Ivanovo",
      "Kabardino-Balkar", "Kalmykia", "Kaluga", "Karachay-Cherkess", "Karelia", "Kirov", "Komi", "Kostroma",
      "Krasnodar Krai", "Kursk", "Leningrad", "Lipetsk", "Mari El", "Mordovia", "Moscow", "Moscow Province",
      "Murmansk", "Nenets", "Nizhny Novgorod", "North Ossetia-Alania", "Novgorod", "Oryol", "Penza", "Pskov",
      "Rostov", "Ryazan", "Saint Petersburg", "Smolensk", "Stavropol Krai", "Tambov", "Tatarstan", "Tula", "Tver",
      "Vladimir", "Vologda", "Voronezh", "Yaroslavl"}},
    {"RU", "Russia Time Zone 3", {"Samara", "Udmurt"}},
    {"RU", "Astrakhan Standard Time", {"Astrakhan", "Ulyanovsk"}},
    {"RU", "Saratov Standard Time", {"Saratov"}},
    {"RU", "Volgograd Standard Time", {"Volgograd"}},
    {"RU", "Ekaterinburg Standard Time",
     {"Bashkortostan", "Chelyabinsk", "Khanty-Mansi", "Kurgan", "Orenburg", "Perm Krai", "Sverdlovsk", "Tyumen",
      "Yamalo-Nenets Okrug"}},
    {"RU", "Omsk Standard Time", {"Omsk"}},
    {"RU", "N. Central Asia Standard Time", {"Novosibirsk"}},
    {"RU", "Altai Standard Time", {"Altai", "Altai Krai"}},
    {"RU", "Tomsk Standard Time", {"Tomsk"}},
    {"RU", "North Asia Standard Time", {"Kemerovo", "Krasnoyarsk Krai", "Khakassia", "Tuva"}},
    {"RU", "North Asia East Standard Time", {"Irkutsk", "Buryat"}},
    {"RU", "Transbaikal Standard Time", {"Zabaykalsky Krai"}},
    {"RU", "Yakutsk Standard Time", {"Sakha", "Amur"}},
    {"RU", "Vladivostok Standard Time", {"Jewish", "Khabarovsk Krai", "Primorsky Krai"}},
    {"RU", "Sakhalin Standard Time", {"Sakhalin"}},
    {"RU", "Magadan Standard Time", {"Magadan"}},
    {"RU", "Russia Time Zone 11", {"Kamchatka Krai", "Chukotka Okrug"}},
};

TEST(ZoneSearch, EveryRegionOfTheCountriesWithManyZonesTakesTheZoneWhereMostOfItsPeopleLive) {
  const std::vector<ZoneEntry> zones = TableZones();
  const ZoneSearch search(zones);
  std::map<std::string, std::size_t> counted;
  for (const RegionCase& c : REGION_CASES) {
    for (const char* region : c.regions) {
      ++counted[c.country];
      // "Georgia" is the country: typed with its own, the state.
      const std::string typed = region;
      const std::vector<ZoneMatch> found = search.Find(typed.substr(0, typed.find(',')));
      const bool statesCountry = typed.find(',') != std::string::npos;
      const std::string key = found.empty()                     ? "(nothing)"
                              : statesCountry && found.size() > 1 ? zones[found[1].zone].keyName
                                                                  : zones[found[0].zone].keyName;
      EXPECT_EQ(c.key, key) << region;
      if (!found.empty() && !statesCountry) EXPECT_EQ(c.country, found[0].countryCode) << region;
    }
  }
  // Each country's regions, all of them: 50 states and the District of Columbia, 13 provinces and
  // territories, 8 states and territories (and NSW), 26 states and the Federal District, 32 states
  // (the capital among them), 83 federal subjects.
  const std::map<std::string, std::size_t> expected = {{"US", 51}, {"CA", 13}, {"AU", 9}, {"BR", 27}, {"MX", 32}, {"RU", 83}};
  EXPECT_EQ(expected, counted);
}

struct FoldCase {
  const char* text;
  const char* folded;
};

class FoldedTexts : public ::testing::TestWithParam<FoldCase> {};

// The form shown where the code page lacks a letter, and in which names are compared.
TEST_P(FoldedTexts, LoseTheirAccentsOnly) { EXPECT_EQ(GetParam().folded, FoldAccents(GetParam().text)); }

const FoldCase FOLD_CASES[] = {
    {"S\xc3\xa3o Paulo", "Sao Paulo"},
    {"\xc3\x86r\xc3\xb8sk\xc3\xb8" "bing", "AEroskobing"},
    {"Chi\xc8\x99in\xc4\x83u", "Chisinau"},             // Romanian's comma below
    {"\xc8\x98" "a" "\xc8\x9a", "SaT"},
    {"2\xc3\x97" "3", "2\xc3\x97" "3"},                   // the multiplication sign stays
    {"\xc8\x9c", "\xc8\x9c"},                             // U+021C, no base letter
    {"Th\xe1\xbb\xa7 \xc4\x90\xe1\xbb\xa9\x63", "Thu Duc"},  // Thủ Đức: Vietnamese
    {"H\xc6\xb0ng Y\xc3\xaan", "Hung Yen"},                // Hưng Yên: the horned u
    {"\xe1\xb8\xa8\xc4\x81\xe2\x80\x99il", "Ha\xe2\x80\x99il"},  // Ḩā’il
    {"\xe1\xba\x9e\xc9\x90", "\xe1\xba\x9e\xc9\x90"},              // U+1E9E and U+0250: none
    {"Z\xc3", "Z\xc3"},                                    // cut short
    {"\xe5\x8c\x97\xe4\xba\xac", "\xe5\x8c\x97\xe4\xba\xac"},  // no Latin letter
};
INSTANTIATE_TEST_SUITE_P(Texts, FoldedTexts, ::testing::ValuesIn(FOLD_CASES));

struct WeekCase {
  const char* code;
  int days;  // bit 0 Sunday .. bit 6 Saturday
};

class CountryWeeks : public ::testing::TestWithParam<WeekCase> {};

TEST_P(CountryWeeks, HaveTheirWorkingDays) { EXPECT_EQ(GetParam().days, CountryWorkDays(GetParam().code)); }

const WeekCase WEEK_CASES[] = {
    {"IL", 0x1F},  // Sunday to Thursday
    {"IR", 0x5F},  // Saturday to Thursday
    {"AF", 0x4F},  // Saturday to Wednesday
    {"IN", 0x7E},  // Monday to Saturday
    {"US", 0x3E}, {"DE", 0x3E}, {"ZZ", 0x3E}, {"I", 0x3E}, {"ILX", 0x3E}, {"", 0x3E}, {nullptr, 0x3E},
};
INSTANTIATE_TEST_SUITE_P(Codes, CountryWeeks, ::testing::ValuesIn(WEEK_CASES));

}  // namespace
