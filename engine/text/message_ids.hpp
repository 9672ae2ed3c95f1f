// Numbers of the messages of the catalogue. This is the one table that
// assigns a number to each text; the texts themselves are in
// message_catalogue_english.cpp, message_catalogue_catalan.cpp and
// message_catalogue_pig_latin.cpp, one table per UI language.
//
// Numbers in use by the catalogue as a whole:
//   0..3     start-up banner
//   9..24    game set-up, tile styles, continuation lines
//   40..79   reading game.definitions
//   80..89   text-pane markers (table lines and in-place progress lines)
//   102..122 the command-line front end
//   151..199 word lists and word queries
//   200..220 the command-line front end (moves, benchmarks)
//   231..240 move generation
//   260..286 move lines and the game listings
//   300..308 game flow, strategies and autoplay
//   309..321, 363..386, 428, 438..452 a game against the computer (play)
//   351..357 computer-against-computer games (autoplay)
//   151..173 word lists, 174..190 word queries
//   ...      further engine, file and report messages up to 452
//   453..482 list entries and notes of dialogs
//   483..507 board labels and the players' panel
//   508..638 menu captions (by menu position), 639 the about box
//   640..741 dialog labels and titles, further prompts, file dialogs
//   1000..   the range of texts this program adds beyond the shared
//            catalogue (kFrontEndFirst):
//     1000..1019 play: exchanges, opening over a game, the board legend
//     1020..1039 command-line conventions, typed text, word lists
//     1040..1059 rack-draw ratings
//     1060..1079 game records read and the history's score changes
//     1080..1099 binary data files (word lists and rack tables)
//     1100..1119 the rack guess and known tiles
//     1150..1199 the network, the benchmarks, strength tests and opening book
#pragma once

namespace pexil::msg {

enum : int {
  // Start-up banner.
  Welcome = 0,
  Ownership = 1,
  Version = 2,                    // "%s" version, "%s" build date
  SelectGameType = 3,

  // Game set-up.
  NoGameDefinitions = 9,
  GameReady = 10,

  // Continuation lines of paged listings.
  MoreMoves = 23,
  MoreWords = 24,

  // game.definitions: warnings, fatal errors and validation.
  DefsWarning = 40,               // "Warning: Syntax error in game \"%s\" %s"
  DefsUnnamed = 41,
  DefsUnknownLine = 42,           // "Game" not followed by white space
  DefsNoGameName = 43,            // fatal
  DefsNoPlayerCount = 44,
  DefsUnknownBonusType = 45,
  DefsSymbolTooLong = 46,
  DefsAmbiguousSymbol = 47,
  DefsInvalidColour = 48,
  DefsUnexpectedEndOfLine = 49,
  DefsNoWordListName = 50,
  DefsNoValidatingListName = 51,
  DefsBoardWithoutSize = 52,      // fatal
  DefsBadCopyboardArgument = 53,
  DefsUnknownCopyboardGame = 54,
  DefsBadCopyArgument = 55,
  DefsUnknownCopyGame = 56,
  DefsSyntaxError = 57,           // any other line
  DefsUnknownTileLetter = 58,     // "%c"
  DefsTileEndOfLine = 59,
  DefsBadBoardRow = 60,           // fatal, "%s" game name
  DefsUnknownSquareChar = 61,     // "%c"
  DefsNoName = 62,
  DefsTooFewPlayers = 63,
  DefsMaxBelowMin = 64,
  DefsTooManyPlayers = 65,
  DefsZeroBoard = 66,
  DefsBoardTooBig = 67,
  DefsStartOffBoard = 68,
  DefsNoBoard = 69,
  DefsRackTooSmall = 70,
  DefsRackTooLarge = 71,
  DefsErrorInGame = 72,           // "%s" game name
  DefsFileNotFound = 73,          // "%s" file name
  DefsMissingGameEnd = 74,
  DefsReadFailed = 75,            // "%s" file name
  DefsTileOutOfRange = 76,

  // Markers that the text pane recognises in the current UI language.
  MarkQuick = 80,
  MarkFastSim = 81,
  MarkLook = 82,
  MarkEndgame = 83,
  MarkForBestMove = 84,
  MarkSimulationPass = 85,

  // Command-line front end.
  CliUnknownGameType = 102,       // "%s"
  CliNoGameTypes = 103,
  CliGameTypesHeading = 104,
  CliUnknownCommand = 105,        // "%s"
  CliDataDirMissing = 106,        // "%s"
  CliBadOption = 107,             // "%s"
  CliBoardHeading = 108,          // "%s" game type name
  CliRackDealt = 109,             // "%s" rack, "%d" tiles left
  CliWellHeading = 110,           // "%d" tiles
  CliBuiltInKind = 111,           // "%d" kind
  CliCannotWrite = 112,           // "%s" file
  CliGraphWritten = 113,          // "%s" file, "%d" nodes, "%d" words
  CliBoardFileUnreadable = 114,   // "%s" file
  CliBoardFileTooLarge = 115,     // "%s" file, "%d" bytes
  CliBoardRowCount = 116,         // "%s" file, "%d" expected, "%d" found
  CliBoardColumnCount = 117,      // "%s" file, "%d" row, "%d" expected, "%d" found
  CliBoardBadLetter = 118,        // "%s" file, "%d" row, "%d" column, "%s" character
  CliBoardUnusableSquare = 119,   // "%s" file, "%d" row, "%d" column
  CliTooManyTiles = 120,          // "%s" tile, "%d" on the board, "%d" on the rack, "%d" in the set
  CliRackBadTile = 121,           // "%s" rack, "%s" tile
  CliRackSize = 122,              // "%s" rack, "%d" most tiles, "%d" tiles given

  // Command-line front end: move lists and the any-rack search.
  CliMovesGenerated = 200,        // "%s" rack, "%d" moves
  CliMovesBest = 201,             // "%s" rack
  CliMovesColumnWord = 202,
  CliMovesColumnPosition = 203,
  CliMovesColumnScore = 204,
  CliMovesColumnLeave = 205,
  CliMovesColumnEquity = 209,
  CliMovesMore = 206,             // "%d" moves not shown
  CliHighestStopKey = 207,
  CliHighestStopsAfter = 208,     // "%s" seconds

  // Word lists.
  LexReading = 151,               // "%s" file name
  LexWordCount = 152,             // "%d"
  LexCannotRead = 153,            // "%s"
  LexCannotReadClassList = 154,   // "%s"
  LexGraphDoesNotFit = 155,       // "%s"
  LexPackStars = 156,
  LexPackLine1 = 157,             // "%s" language name
  LexPackLine2 = 158,
  LexPackLine3 = 159,
  LexPackLine4 = 160,
  LexPackLine5 = 161,
  LexPackLine6 = 162,
  LexPackLine7 = 163,
  LanguageUnknown = 164,
  LanguageNameEnglish = 165,      // 165..173 by alphabet: English .. Swedish

  // Word queries.
  QueryValidWord = 174,
  QueryInvalidWord = 175,
  QueryFrontHooksHeading = 176,   // "%s" query text
  QueryBackHooksHeading = 177,    // "%s"
  QueryAnagramsHeading = 178,     // "%s"
  QueryMatchesHeading = 179,      // "%s"
  QueryNoFrontHooks = 180,
  QueryNoBackHooks = 181,
  QueryNoAnagrams = 182,
  QueryNoMatches = 183,
  QueryPromptLookUp = 184,
  QueryPromptCheck = 185,
  QueryPromptWord = 186,
  QueryPromptAnagram = 187,
  QueryPromptPattern = 188,
  QueryNoEndLine = 189,           // log line of the definitions search
  QueryCheckedWord = 190,         // "%s" word, "%s" verdict

  // Move generation.
  GenNeedGame = 231,
  GenHighestIntro1 = 232,
  GenHighestIntro2 = 233,
  GenHighestIntro3 = 234,
  GenHighestIntro4 = 235,
  GenHighestIntro5 = 236,
  GenHighestFound = 237,          // "%05d %s " counter, rack
  GenStopped = 238,

  // Rack statistics and the rack-value reports.
  RackReading = 241,
  RackNoStatistics = 242,
  RackEstimateTitle = 243,
  RackEstimateLine = 244,         // "%s" keep padded with '.', "%+5.1f" value, "%s" note
  RackEstimateThisRack = 245,
  RackEstimateUnseenAverage = 246,

  // Move lines: the labels of non-placement moves.
  MoveLinePass = 260,
  MoveLineLostChallenge = 261,
  MoveLineBadChallenge = 262,
  MoveLineKeep = 263,             // "%s" tiles kept
  MoveLineExchangeAll = 264,
  MoveLineExchanged = 265,        // "%d" tiles exchanged

  // Game listings: the well, the history and the statistics.
  WellOneTileLeft = 266,
  WellTilesLeft = 267,            // "%d" tiles
  WellNoteLine1 = 268,            // the three parts of one note, joined by spaces
  WellNoteLine2 = 269,
  WellNoteLine3 = 270,
  WellAllSeen = 271,
  WellRemainingHeading = 272,     // open racks
  WellUnseenHeading = 273,
  WellVowels = 274,               // "%d" vowels, "%d" consonants, "%d" blanks
  HistoryHeading = 275,
  HistoryPlayerScore = 276,       // "%d" player, "%s" name, "%d" score, "%s" unit
  // Changes of score after the history's move lines: "%d" player, "%+d"
  // points, "%s" unit, then what each needs.
  HistoryChallengeBonus = 1060,   // "%d" the challenged move
  HistoryEndRackGain = 1061,      // "%d" player whose rack, "%s" its tiles
  HistoryEndRackLoss = 1062,      // "%s" the tiles
  HistoryTimePenalty = 1063,
  HistoryPoint = 277,
  HistoryPoints = 278,
  StatsHeading = 279,             // "%s" name
  StatsBingos = 280,              // "%d"
  StatsTurnover = 281,            // "%d"
  StatsValue = 282,               // "%d"
  StatsBlankNote = 283,
  StatsEfficiency = 284,          // "%.2f"
  StatsScorePerTile = 285,        // "%.2f"
  StatsAverageRack = 286,         // "%+.2f"

  // Game flow.
  FlowChallengeSucceeded = 300,
  FlowChallengeFailed = 301,
  FlowSenyors = 302,              // "%s" rack
  PlayerNumbered = 305,           // "Player %d"
  StrategyUnknown = 306,
  AutoplayStarting = 307,
  AutoplayFinished = 308,

  // A game against the computer in the terminal (pexil-cli play).
  PlayComputerName = 309,
  PlayDefaultName = 310,
  PlayRedoQuestion = 311,
  PlayAbandonQuestion = 312,
  PlayInvalidTime = 313,
  PlayBadPly = 314,
  PlayUndoLast = 315,
  PlayRedoDone = 316,
  PlayPrompt = 317,               // "%s" rack
  PlayScoreLine = 318,            // "%d" player, "%s" name, "%d" score, "%s" notes
  PlayToMove = 319,
  PlayBagCount = 320,             // "%d" tiles
  PlayGameOver = 321,
  PlayIntro = 363,                // "%s" name, "%d" seat, "%s" name, "%d" seat, "%s" first mover
  PlayStrategyNote = 364,         // "%s" name, "%d" strategy, "%s" description
  PlayNoLookahead = 365,          // "%s" name
  PlayClock = 366,                // "%s" time
  PlayFinalScores = 367,
  PlayWinner = 368,               // "%s" name, "%d" score, "%d" score
  PlayTie = 369,                  // "%d" score, "%d" score
  PlayOverPrompt = 370,
  PlayEndOfInput = 371,
  PlayUnknownCommand = 372,       // "%s" command
  PlayBadSquare = 373,            // "%s" position
  PlayBadLetter = 374,            // "%s" word, "%s" character
  PlayWordTooShort = 375,
  PlayOffBoard = 376,             // "%s" word, "%s" position
  PlayMismatch = 377,             // "%s" word, "%s" square, "%s" tile, "%s" letter
  PlayNoNewTile = 378,            // "%s" word, "%s" position
  PlayWordContinues = 379,        // "%s" whole word
  PlayNotConnected = 380,         // "%s" word, "%s" position
  PlayStartSquare = 381,          // "%s" square
  PlayMissingTiles = 382,         // "%s" word, "%s" rack
  PlayNotWords = 383,             // "%s" words
  PlayExchangeNever = 384,
  PlayExchangeTooFew = 385,       // "%d" needed, "%d" available
  PlayKeepMissing = 386,          // "%s" tiles, "%s" rack
  PlayPlayed = 428,               // "%s" name
  PlayCannotChallenge = 438,      // "%s" name
  PlayChallengesOff = 439,
  PlayChallenging = 440,          // "%s" name
  PlayMoveNotMade = 441,
  PlayNothingToUndo = 442,
  PlayNothingToRedo = 443,
  PlayBestMove = 444,
  PlayHelp1 = 445,                // 445..451 the help lines
  PlayYesNo = 452,

  // Computer-against-computer games (pexil-cli autoplay).
  AutoGameLine = 351,             // "%d" game, "%s" scores, "%s" outcome
  AutoScorePiece = 352,           // "%d" player, "%d" score
  AutoWinner = 353,               // "%d" player
  AutoDraw = 354,
  AutoTotalsHeading = 355,        // "%d" games
  AutoSeatLine = 356,             // "%d" player, "%d" strategy, "%d" wins, "%d" draws, "%d" losses, "%.1f", "%+.1f"
  AutoGcgFolder = 357,            // "%s" folder
  AutoGcgTwoPlayers = 358,

  // Position files.
  PosFileNotFound = 322,          // "%s" path; also the game records'
  PosInvalidBoard = 323,
  PosMissingGameType = 324,
  PosMissingGameTypeName = 325,
  PosNoTemplateName = 326,
  PosUnknownGameType = 327,       // "%s" name
  PosPnameBeforePlayers = 328,
  PosPnameBadIndex = 329,
  PosTwoPlayerCounts = 330,
  PosPlayersBeforeGameType = 331,
  PosMissingPlayers = 332,
  PosMissingGameTurn = 333,
  PosMissingPlayerTurn = 334,
  PosScoreNoIndex = 335,
  PosScoreBeforePlayers = 336,
  PosScoreBadIndex = 337,
  PosScoreMissing = 338,
  PosRackNoIndex = 339,
  PosRackBeforePlayers = 340,
  PosRackBadIndex = 341,
  PosRackMissing = 342,
  PosBoardBeforeGameType = 343,
  PosTooManyTiles = 391,          // "%s" tile
  PosRackTooLarge = 392,          // "%d" player index, "%d" rack size
  PosInvalidValue = 393,          // "%s" keyword
  PosMissingRecords = 394,

  // Game records (GCG).
  GcgPragma1 = 123,               // 123..127 the discarded-pragma warning
  GcgPragma2 = 124,
  GcgPragma3 = 125,
  GcgPragma4 = 126,
  GcgPragma5 = 127,
  GcgHome1 = 128,
  GcgHome2 = 129,
  GcgSavedAs = 130,               // "%s" path
  SimByWinProb = 100,
  SimBySpread = 101,
  PreEndgameEvaluation = 228,
  ClockRemaining = 348,
  // The report of replayed records.
  GcgReportFile = 401,            // "%s" path
  GcgReportWordList = 402,        // "%s" list used
  GcgReportListLine = 403,        // "%s" the record's line, "%s" list it names
  GcgReportMoves = 404,           // "%d" moves
  GcgReportFinal = 405,           // "%s" name, "%d" score, "%s" name, "%d" score
  GcgReportStatedFinal = 406,     // "%s" player 1's last stated total, "%s" player 2's
  GcgReportDiffers = 407,         // "%d" move, "%d" line, "%s" name, "%s" move, "%d" stated, "%d" computed
  GcgReportUnused = 408,          // "%d" line, "%s" text
  GcgReportMended = 409,          // "%d" line, "%s" what was done, "%s" text
  GcgReportSummary = 410,         // "%d" records, "%d" moves, "%d" differing, "%d" unused lines
  GcgReportAgree = 411,
  GcgReportUtf8 = 412,
  GcgNothingRead = 1064,          // "%s" path
  GcgLinesNotUsed = 1065,         // "%d" lines
  GcgOneLineNotUsed = 1066,
  GcgMoreLinesNotUsed = 1067,     // "%d" lines
  GcgReportEndRule = 1068,        // "%d" line, "%+d" "%+d" stated, "%+d" "%+d" by our rule
  GcgReportTotalsDiffer = 1069,

  // A word list named by a file that cannot be opened.
  WordListFallback = 390,         // "%s" named list, "%s" default list
  // 391..395 position-file extras, 401..412 game-record extras.
  // Opening and saving files from the command line.
  FilePositionSaved = 396,        // "%s" path
  FileCannotWrite = 397,          // "%s" path
  FileStoppedAfterMove = 398,     // "%d" moves
  FileRackLine = 413,             // "%s" name, "%s" rack
  PlayHelpFiles = 414,
  PlayFileNeeded = 415,           // "%s" command
  CliNoRackToMove = 416,          // "%s" name
  // From here on, texts of the front-end range (kFrontEndFirst and up).
  // "play": exchanges, opening over a game, the board legend.
  PlayOpenNotDone = 1000,
  PlayExchangeAllQuestion = 1001, // "%s" rack
  PlayExchangeMissing = 1002,     // "%s" tiles, "%s" rack
  PlayHelpExchange1 = 1003,       // 1003..1004 the help lines on exchanges
  PlayHelpExchange2 = 1004,
  BoardLegendSquares = 1005,      // "%s" the marks and their meanings
  BoardLegendPlain = 1006,
  BoardLegendLetter = 1007,       // "%d" multiplier
  BoardLegendWord = 1008,         // "%d" multiplier
  BoardLegendOutside = 1009,
  BoardLegendTiles = 1010,
  BoardLegendTileForms = 1011,    // "%s" the one-character forms
  PlayTwoPlayersOnly = 1012,      // "%s" file, "%d" players

  // Command-line front end: conventions, typed text, word lists.
  CliVersionLine = 1020,          // "%s" version, "%s" build date
  CliStrategiesHeading = 1021,
  CliStrategiesNote = 1022,
  CliTypedNotUtf8 = 1023,         // "%s" text, "%d" byte position, "%02X" byte
  CliTypedNoLetter = 1024,        // "%s" text, "%04X" code point
  CliWordListMissing = 1025,      // "%s" list, "%s" data folder
  CliWordListUnreadable = 1026,   // "%s" list
  CliWordListEmpty = 1027,        // "%s" list
  CliNoDefinition = 1028,         // "%s" word
  CliNoDefinitionsFile = 1029,    // "%s" file

  // Rack-draw ratings: the report and its progress.
  RateDrawsHeader = 1040,
  RateDrawsLine = 1041,           // "%d" entry, "%s" player, "%s" leave, "%s" new rack, "%.1f" rating
  RateDrawsAverage = 1042,        // "%s" player, "%.1f" mean rating, "%d" rated draws
  RateDrawsProgress = 1043,       // "%d" redraws so far
  CliRatingsWritten = 1044,       // "%s" path

  // Binary data files: the binary forms of word lists and rack tables.
  BinaryIgnored = 1080,           // "%s" file, "%s" reason (one of 1081..1086)
  BinaryReasonNotImage = 1081,
  BinaryReasonOtherKind = 1082,
  BinaryReasonOtherVersion = 1083,
  BinaryReasonOtherMachine = 1084,
  BinaryReasonDamaged = 1085,     // "%s" what is damaged
  BinaryReasonOtherSources = 1086,
  BinaryNotWritten = 1087,        // "%s" file
  BinaryLexiconWritten = 1088,    // "%s" file, "%d" words, "%.1f" MiB
  BinaryRackTablesWritten = 1089, // "%s" file, "%d" full racks, "%d" leaves, "%.1f" MiB
  BinaryNoRackTables = 1090,      // "%s" word list
  // "play": the searches.
  PlayHelpSearch = 1091,
  PlaySimulationOf = 1092,        // "%d" plies, "%s" rack
  PlayHelpEndgame = 1093,
  // The rack guess and known tiles (infer, simulate --known-tiles, play).
  PlayHelpInfer = 1100,
  InferRacksListed = 1101,        // "%d" racks, "%d" distinct
  InferRackShare = 1102,          // "%s" rack, "%.1f" percent
  KnownTilesBad = 1103,           // "%s" typed tiles, "%d" rack size
  PlayKnownTilesSet = 1104,       // "%s" tiles, "%s" player
  PlayKnownTilesForgotten = 1105,
  // pexil-cli settings: the user's stored options.
  SettingsHeading = 1110,         // "%s" file
  SettingsUnknownKey = 1111,      // "%s" key
  SettingsBadValue = 1112,        // "%s" key, "%s" value
  SettingsCannotWrite = 1113,     // "%s" reason
  SettingsChanged = 1114,         // "%s" key, "%s" value
  SettingsCannotRead = 1115,      // "%s" reason
  // The desktop program.
  StartGamePlayers = 1120,        // "%s" game type, "%d" fewest, "%d" most players
  HeatmapHint = 1121,
  WordListsNone = 1122,
  // Tiles laid on the board by hand (why they make no move).
  LaidNone = 1140,
  LaidNotInLine = 1141,
  LaidGap = 1142,                 // "%s" square
  LaidNotConnected = 1143,
  // The web exchange with the results server, and pexil-cli upload.
  HttpNoSocket = 1150,            // "%s" host
  HttpNoHost = 1151,              // "%s" host
  HttpNoConnection = 1152,        // "%s" host, "%d" port
  HttpReceiveFailed = 1153,       // "%s" host, "%s" reason
  HttpTimedOut = 1154,            // "%s" host, "%g" seconds
  HttpReplyTooLarge = 1155,       // "%s" host, "%d" KiB
  UploadNotSetUp = 1156,
  UploadSent = 1157,
  // The benchmark results' first eight lines (the ninth is 359).
  BenchResultFirst = 1160,        // 1160..1167, "%4.1f" each
  // The benchmark suite, the strength tests and the opening-book builder.
  BenchTestStartFirst = 1170,     // 1170..1193, one per test
  BenchFallbackWordList = 1194,   // "%s" word list used instead
  BenchMissingPosition = 1195,    // "%s" file
  BenchStopped = 1196,
  BenchNotStored = 1197,
  BenchPlan = 1198,               // "%d" tests, "%d" threads, "%d" evaluations, "%d" plies
  StrengthGameSaved = 1199,       // "%d" game, "%s" file, "%s" players and scores

  // Start-up and game set-up (4..8).
  ReadingDefinitions = 4,
  DefinitionsRead = 5,            // "%d"
  SettingUpGame = 6,              // "%s"
  DealingRacks = 7,
  PleaseWaitLoading = 8,

  // Tile styles and colours (11..22).
  TilesSetFirst = 11,             // 11..18 by tile style 0..7
  TilesCustom = 19,
  TilesCustomTextSet = 20,
  TilesCustomBackgroundSet = 21,
  BlankColourSet = 22,

  // Listings, busy state and settings (25..39).
  NoMoreMoves = 25,
  NoMoreWords = 26,
  MovesInAll = 27,                // "%d"
  WordsInAll = 28,                // "%d"
  NoGameYet = 29,
  ComputerThinking = 30,
  BusyWait = 31,
  AbortRequested = 32,
  Aborted = 33,
  NotWhileBusy = 34,
  BeepOn = 35,
  BeepOff = 36,
  FreeFormOn = 37,
  FreeFormOff = 38,
  SettingsNotSaved = 39,

  // Game definitions (77..79).
  DefsReadingFile = 77,           // "%s"
  DefsCount = 78,                 // "%d"
  DefsDuplicateName = 79,         // "%s"

  // Further text-pane markers (86..89).
  MarkHighest = 86,
  MarkPreEndgame = 87,
  MarkInference = 88,
  MarkClock = 89,

  // Simulation status lines (90..99).
  SimStarting = 90,               // "%d" "%d"
  SimStopped = 91,                // "%d"
  SimFinished = 92,               // "%d"
  SimNoResults = 93,
  SimResultsHeading = 94,
  SimThreads = 95,                // "%d"
  SimTimeLimit = 96,              // "%d"
  SimColumnSpread = 97,
  SimColumnWinProb = 98,
  SimColumnIterations = 99,

  // Game records, output files and the network (131..150).
  GcgReading = 131,               // "%s"
  GcgNoMoves = 132,               // "%s"
  GcgUnknownLexicon = 133,
  GcgWriting = 134,               // "%s"
  GcgSteppedForward = 135,
  RecapSavedAs = 136,             // "%s"
  ImageSavedAs = 137,             // "%s"
  OutputFileError = 138,
  GameTypeNotFound = 139,
  BenchmarkQuestion = 140,
  UploadNoSockets = 141,
  UploadNoSocket = 142,
  UploadNoHost = 143,
  UploadNoConnection = 144,
  UploadNoFile = 145,
  OpeningRack = 146,              // "%s"
  BenchExpectedWinner = 147,      // "%s"
  BenchTestDone = 148,            // "%.1f"
  StrengthTestQuestion = 149,
  StrengthNoBenchmark = 150,

  // Word queries (191..199).
  QueryNumberedWord = 191,        // "%4d" "%s"
  QueryDefinitionHeading = 192,   // "%s"
  QueryWordsFound = 193,          // "%d"
  QueryLookingUp = 194,           // "%s"
  QueryNoDefinitions = 195,
  QueryPhonyLength = 196,         // "%d"
  QueryHighlightOn = 197,
  QueryHighlightOff = 198,
  QuerySelectListFirst = 199,

  // Command-line front end: searches and timings (210..223).
  CliNoMoves = 210,               // "%s"
  CliHighestSoFar = 211,          // "%s" "%d"
  CliRacksSearched = 212,         // "%d"
  CliBenchHeading = 213,          // "%s"
  CliBenchRuns = 214,             // "%d" "%.2f"
  CliBenchRate = 215,             // "%.1f"
  CliPositionLine = 216,          // "%s"
  CliSimulating = 217,            // "%d"
  CliEndgameSearching = 218,
  CliDoneIn = 219,                // "%.2f"
  CliNothingToDo = 220,
  BoardImageSavedAs = 221,        // "%s"
  ScreenImageSavedAs = 222,       // "%s"
  RecapNoImage = 223,

  // Game recap (224..227).
  RecapTitle = 224,
  RecapCommentary = 225,
  RecapNone = 226,
  RecapHeaderRow = 227,

  // Endgame searches (229..230).
  EndgameSearching = 229,         // "%d"
  PreEndgameSearching = 230,      // "%d"

  // Move generation (239..240).
  GenMovesFound = 239,            // "%d"
  GenNoMoves = 240,

  // Rack statistics, leaves and draws (247..259).
  RackStatisticsRead = 247,       // "%d"
  RackDrawRating = 248,           // "%.1f"
  RackColumnLeave = 249,
  RackColumnValue = 250,
  RackStatisticsMismatch = 251,
  RackLeavesHeading = 252,
  RackLeaveLine = 253,            // "%s" "%s" "%+.1f"
  RackRatingDraws = 254,
  RackNoDraws = 255,
  RackMedianOn = 256,
  RackMedianOff = 257,
  RackFilled = 258,
  RackRedrawn = 259,

  // Further statistics and game listings (287..299).
  StatsTurns = 287,               // "%d"
  StatsScorePerTurn = 288,        // "%.2f"
  StatsExchanges = 289,           // "%d"
  StatsPasses = 290,              // "%d"
  StatsPhonies = 291,             // "%d"
  StatsPhoniesChallenged = 292,   // "%d"
  HistoryEmpty = 293,
  AnnotationLine = 294,           // "%d" "%s"
  AnnotateNoMove = 295,
  JumpedToStart = 296,
  JumpedToEnd = 297,
  ForfeitDone = 298,              // "%s"
  ForfeitQuestion = 299,

  // Game flow (303..304).
  FlowPassed = 303,               // "%s"
  FlowExchanged = 304,            // "%s" "%d"

  // Position files, tile inference and benchmarks (344..362).
  PosRead = 344,                  // "%s"
  InferBingo = 345,
  InferNoGuess = 346,
  InferFirstTurn = 347,
  BenchNoData = 349,
  BenchResultsHeading = 350,
  BenchLateBothSeen = 359,        // "%4.1f"; the ninth result line (351..358 are autoplay's)
  BenchNoLexicon = 360,
  BenchNoGameType = 361,
  BenchStarting = 362,
  BenchFinished = 387,
  UploadStarting = 388,
  UploadSeeResults = 389,

  // Position files and files opened (395..400).
  PosInvalidTurn = 395,
  FilePositionOpened = 399,       // "%s"
  FileGameOpened = 400,           // "%s"

  // Game analysis report (417..437).
  AnalysisStarting = 417,         // "%s"
  AnalysisProgress = 418,         // "%d" "%d"
  AnalysisWritten = 419,          // "%s"
  AnalysisKnownOnRack = 420,
  InferTableHeading = 421,
  InferKnownOnOpponentRack = 422,
  InferKnownPlayed = 423,         // "%s"
  InferKnownPass = 424,
  InferKnownExchange = 425,
  InferTableNote = 426,
  AnalysisMoveNumber = 427,
  AnalysisChallengedOff = 429,
  AnalysisEndgame = 430,
  AnalysisSimulationHeading = 431, // "%d"
  InferOpponentBetter = 432,      // "%.1f"
  InferOpponentWorse = 433,       // "%.1f"
  AnalysisSimulated = 434,        // "%d" "%d"
  AnalysisWinGivenUp = 435,
  AnalysisInferenceHeading = 436, // "%d"
  AnalysisHeatmapHeading = 437,   // "%d"

  // Dialog lists and notes (453..482).
  DlgMaximizeSpread = 453,
  DlgMaximizeWinProb = 454,
  DlgRunTimeFirst = 455,          // 455..464: until finished, 30 seconds .. 10 minutes
  DlgFirstMe = 465,
  DlgFirstPexil = 466,
  DlgFirstAlternate = 467,
  DlgFirstRandom = 468,
  DlgPlayByTime = 469,
  DlgPlayByDepth = 470,
  DlgPlayPexilClock = 471,
  DlgPlayPlyDepth = 472,
  DlgChallengeSingle = 473,
  DlgChallengeDouble = 474,
  DlgChallengePenalty = 475,
  DlgChallengeStrict = 476,
  DlgChallengeNone = 477,
  DlgChallengeSingleNote = 478,
  DlgChallengeDoubleNote = 479,
  DlgChallengePenaltyNote = 480,
  DlgChallengeStrictNote = 481,
  DlgChallengeNoneNote = 482,

  // Board labels and the players' panel (483..507).
  BonusLabelFirst = 483,          // 483..500: three lines for each of double, triple and
                                  // quadruple letter, then word
  BonusCustomMultiplier = 501,    // "%s" sign, "%d" multiplier; then 502 or 503, then 485
  BonusCustomWord = 502,
  BonusCustomLetter = 503,
  PanelPlayerLine = 504,          // "%s" name, "%s" 505, "%d" score, "%s" 506, "%s" 507 or empty
  PanelScore = 505,
  PanelPoints = 506,              // "point" for exactly 1 is HistoryPoint
  PanelYourTurn = 507,

  // Menu captions (508..638).
  MenuFile = 508,
  MenuFileOpenGame = 509,
  MenuFileSaveGame = 510,
  MenuFileSaveGameAs = 511,
  MenuFileAnalyzeGame = 512,
  MenuFileOpenPosition = 513,
  MenuFileSavePosition = 514,
  MenuFileSavePositionAs = 515,
  MenuFileSaveRecap = 516,
  MenuFileSaveRackDrawRatings = 517,
  MenuFileSaveBoardImage = 518,
  MenuFileSaveScreenImage = 519,
  MenuFileExit = 520,
  MenuGame = 521,
  MenuGameStart = 522,
  MenuGameNewSameType = 523,
  MenuGameNewAgainstPexil = 524,
  MenuGameAutoplay = 525,
  MenuGameBeepOnMove = 526,
  MenuGameSetClock = 527,
  MenuGameBagContents = 528,
  MenuGameConciseBag = 529,
  MenuGameAutoShowBag = 530,
  MenuGameSetScores = 531,
  MenuGamePlayerNames = 532,
  MenuGameHistory = 533,
  MenuGameStatistics = 534,
  MenuGameJumpToStart = 535,
  MenuGameJumpToEnd = 536,
  MenuGameAnnotate = 537,
  MenuGameAnalysisEnabled = 538,
  MenuGameForfeit = 539,
  MenuBoard = 540,
  MenuBoardLabels = 541,
  MenuBoardWidePane = 542,
  MenuBoardPrint = 543,
  MenuBoardSimulationResults = 544,
  MenuBoardBonusLabels = 545,
  MenuMove = 546,
  MenuMoveMake = 547,
  MenuMoveQuick = 548,
  MenuMoveQuickUsesEndgame = 549,
  MenuMoveFastLookahead = 550,
  MenuMoveSimulationOptions = 551,
  MenuMoveAnalyze = 552,
  MenuMoveClock = 553,
  MenuMoveRecall = 554,
  MenuMovePass = 555,
  MenuMoveExchange = 556,
  MenuMoveChallengeLast = 557,
  MenuMoveChallengeSettings = 558,
  MenuMoveHighest = 559,
  MenuMoveHighlightTiles = 560,
  MenuMoveAbort = 561,
  MenuSimPreEndgame = 562,
  MenuSimStaticEndgame = 563,
  MenuSimMoods = 564,
  MenuSimTrackHeatmaps = 565,
  MenuSimLockHeatmaps = 566,
  MenuSimSortRacks = 567,
  MenuSimGreedierEndgame = 568,
  MenuSimWordKnowledge = 569,
  MenuSimExperimentalFlag = 570,  // its items keep their XPF_ names
  MenuMoodFirst = 571,            // 571..577: moods +3 down to -3
  MenuRack = 578,
  MenuRackSet = 579,
  MenuRackFreeForm = 580,
  MenuRackFillFromWell = 581,
  MenuRackNewFromWell = 582,
  MenuRackKnownTiles = 583,
  MenuRackShuffle = 584,
  MenuRackRateDraw = 585,
  MenuRackLeaveGuess = 586,
  MenuRackLeaveValues = 587,
  MenuRackMedianDraws = 588,
  MenuEdit = 589,
  MenuEditUndo = 590,
  MenuEditRedo = 591,
  MenuEditCopyPane = 592,
  MenuEditCopyVisible = 593,
  MenuEditCopySimulation = 594,
  MenuLexicon = 595,
  MenuLexiconDefinition = 596,
  MenuLexiconCheckWord = 597,
  MenuLexiconSelect = 598,
  MenuLexiconFrontHooks = 599,
  MenuLexiconBackHooks = 600,
  MenuLexiconAnagrams = 601,
  MenuLexiconPattern = 602,
  MenuLexiconHighlight = 603,
  MenuLexiconPhonies = 604,
  MenuTiles = 605,
  MenuTilesStyleFirst = 606,      // 606..612: tile styles 0, 1, 2, 3, 5, 6, 7
  MenuTilesUseCustom = 613,
  MenuTilesCustom = 614,
  MenuTilesBlank = 615,
  MenuTilesShowValue = 616,
  MenuTilesCustomText = 617,
  MenuTilesCustomBackground = 618,
  MenuBlankFirst = 619,           // 619..624: blue, red, orange, green, black, white
  MenuBlankDoNotDraw = 625,
  MenuBlankCustom = 626,
  MenuTesting = 627,
  MenuTestingBenchmarks = 628,
  MenuTestingLastBenchmark = 629,
  MenuTestingStrength = 630,
  MenuTestingOpeningBook = 631,   // English in Catalan too
  MenuLanguage = 632,             // 633..635 the languages (below)
  MenuHelp = 636,
  MenuHelpAbout = 637,
  MenuHelpWebsite = 638,
  AboutText = 639,

  // Dialog labels (640..681).
  DlgAnalyzeGameTopMoves = 640,
  DlgAnalyzeGameMinSimulations = 641,
  DlgAnalyzeGameOutputPath = 642,
  DlgAnalyzeGamePly = 643,
  DlgAnalyzeGameTileGuesses = 644,
  DlgAnalyzeGameHeatmaps = 645,
  DlgAnalyzeMoveMove = 646,
  DlgAnalyzeMovePly = 647,
  DlgAnalyzeMoveThreads = 648,
  DlgGuessOpponentRack = 649,
  DlgBlankWhichTile = 650,
  DlgChallengeTypeLabel = 651,
  DlgChallengePointPenalty = 652,
  DlgClockTime = 653,
  DlgTimeFormatNote = 654,
  DlgClockAllPlayers = 655,
  DlgKnownTilesLabel = 656,
  DlgSelectGameGame = 657,
  DlgSelectGamePlayers = 658,
  DlgPlayer1 = 659,
  DlgPlayer2 = 660,
  DlgPlayer = 661,
  DlgNewName = 662,
  DlgPhonyMinLength = 663,
  DlgPlayFirstPlayer = 664,
  DlgPlayYourName = 665,
  DlgPlayHowPexilPlays = 666,
  DlgPlaySameTime = 667,
  DlgRackTypeTiles = 668,
  DlgScorePlayerName = 669,
  DlgScorePlayerScore = 670,
  DlgLexiconWhich = 671,
  DlgLookaheadPly = 672,
  DlgLookaheadThreads = 673,
  DlgLookaheadMaximize = 674,
  DlgLookaheadRunTime = 675,
  DlgWordKnowledgeWord = 676,
  DlgWordKnowledgeAdd = 677,
  DlgWordKnowledgeFromFile = 678,
  DlgWordKnowledgeDelete = 679,
  DlgWordKnowledgeDeleteAll = 680,
  DlgExchangeKeep = 681,
  DlgTitleAbout = 682,
  DlgTitleAnalyzeGame = 683,
  DlgTitleAnalyzeMove = 684,
  DlgTitleBlank = 685,
  DlgTitleChallenge = 686,
  DlgTitleClock = 687,
  DlgTitleKnownTiles = 688,
  DlgTitleSelectGame = 689,
  DlgTitleLexicon = 690,
  DlgTitleNames = 691,
  DlgTitlePhonies = 692,
  DlgTitlePlayPexil = 693,
  DlgTitleSetRack = 694,
  DlgTitleScore = 695,
  DlgTitleScores = 696,
  DlgTitleSelectLexicon = 697,
  DlgTitleLookahead = 698,
  DlgTitleWordKnowledge = 699,
  DlgTitleExchange = 700,
  DlgTitleAnnotations = 701,
  DlgTitlePlayerNames = 702,
  DlgRackTypeTilesPlain = 703,
  DlgCustomExchange = 704,
  DlgOk = 705,
  DlgCancel = 706,
  DlgNumberRange = 707,           // "%d" "%d"
  DlgBadTime = 708,
  DlgTypeRack = 709,
  DlgNotATile = 710,              // "%s"
  DlgRackTooLong = 711,           // "%d"
  DlgChooseGameType = 712,
  DlgTypeOneLetter = 713,
  DlgTypeName = 714,
  DlgWordListed = 715,
  DlgFileUnreadable = 716,        // "%s"
  DlgWordsAdded = 717,            // "%d"
  DlgDeleteAllQuestion = 718,
  FileDlgOpenPosition = 719,
  FileDlgSavePosition = 720,
  FileDlgOpenGame = 721,
  FileDlgSaveGame = 722,
  FileDlgSaveRecap = 723,
  FileDlgSaveImage = 724,
  FileDlgSaveRatings = 725,
  FileFilterPositions = 726,
  FileFilterGames = 727,
  FileFilterWebPages = 728,
  FileFilterImages = 729,
  FileFilterText = 730,
  FileFilterAll = 731,
  ColourDlgTileText = 732,
  ColourDlgTileBackground = 733,
  ColourDlgBlankLetter = 734,
  DlgExchangeImpossible = 735,    // "%d"
  AnalysisRunning = 736,
  BusyStopFirst = 737,
  SaveGameFirstQuestion = 738,
  ClipboardCopied = 739,          // "%d"
  WebsiteNotOpened = 740,

  // Menu items that name the three UI languages.
  LanguageEnglish = 633,
  LanguageCatalan = 634,
  LanguagePigLatin = 635,

  // The opening-book question: English only in every language.
  OpeningBookQuestion = 741,
};

}  // namespace pexil::msg
