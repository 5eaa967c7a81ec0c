/*
 * Every suite of the host interface in one table: each suite's function
 * table type, name, version and operations. The plug-in's suite pointers and
 * binding table and the host's list of operations (what `--fail` may name)
 * are made from it, so no suite or operation name is typed twice.
 *
 * HOST_PLUGIN_SUITES(SUITE) expands SUITE(id, type, name, version) for every
 * suite the plug-in binds, in the order it binds them: binding stops at the
 * first failure, and the ADM Basic Suite must be bound before a failure can
 * be shown, so the order is part of the behaviour. HOST_SUITES(SUITE) adds
 * the SP Basic Suite, which arrives with every message and is never bound.
 *
 * HOST_SUITE_OPERATIONS(id, OPERATION, context) expands
 * OPERATION(context, operation) for every member of the suite's function
 * table, in order. The checks at the end make a list that misses, adds or
 * reorders a member fail to compile.
 */
#pragma once

#include <stddef.h>

#include "adm_suites.h"
#include "ai_art_suites.h"
#include "ai_document_suites.h"
#include "ai_filter_suites.h"
#include "ai_style_suites.h"
#include "basic_suite.h"
#include "sp_suites.h"

#define HOST_PLUGIN_SUITES(SUITE)                                                                                \
  SUITE(Blocks, BlocksSuiteV2, kBlocksSuite, kBlocksSuiteVersion)                                                \
  SUITE(Access, AccessSuiteV3, kAccessSuite, kAccessSuiteVersion)                                                \
  SUITE(MdMemory, MdMemorySuiteV1, kMdMemorySuite, kMdMemorySuiteVersion)                                        \
  SUITE(RealMath, RealMathSuiteV1, kRealMathSuite, kRealMathSuiteVersion)                                        \
  SUITE(Art, ArtSuiteV9, kArtSuite, kArtSuiteVersion)                                                            \
  SUITE(User, UserSuiteV5, kUserSuite, kUserSuiteVersion)                                                        \
  SUITE(Document, DocumentSuiteV7, kDocumentSuite, kDocumentSuiteVersion)                                        \
  SUITE(DocumentView, DocumentViewSuiteV7, kDocumentViewSuite, kDocumentViewSuiteVersion)                        \
  SUITE(Undo, UndoSuiteV4, kUndoSuite, kUndoSuiteVersion)                                                        \
  SUITE(Path, PathSuiteV4, kPathSuite, kPathSuiteVersion)                                                        \
  SUITE(PathStyle, PathStyleSuiteV5, kPathStyleSuite, kPathStyleSuiteVersion)                                    \
  SUITE(Random, RandomSuiteV3, kRandomSuite, kRandomSuiteVersion)                                                \
  SUITE(Tag, TagSuiteV2, kTagSuite, kTagSuiteVersion)                                                            \
  SUITE(BlendStyle, BlendStyleSuiteV2, kBlendStyleSuite, kBlendStyleSuiteVersion)                                \
  SUITE(MatchingArt, MatchingArtSuiteV4, kMatchingArtSuite, kMatchingArtSuiteVersion)                            \
  SUITE(TransformArt, TransformArtSuiteV1, kTransformArtSuite, kTransformArtSuiteVersion)                        \
  SUITE(RealBezier, RealBezierSuiteV1, kRealBezierSuite, kRealBezierSuiteVersion)                                \
  SUITE(SwatchList, SwatchListSuiteV4, kSwatchListSuite, kSwatchListSuiteVersion)                                \
  SUITE(ArtStyle, ArtStyleSuiteV3, kArtStyleSuite, kArtStyleSuiteVersion)                                        \
  SUITE(Symbol, SymbolSuiteV1, kSymbolSuite, kSymbolSuiteVersion)                                                \
  SUITE(Layer, LayerSuiteV9, kLayerSuite, kLayerSuiteVersion)                                                    \
  SUITE(ShapeConstruction, ShapeConstructionSuiteV4, kShapeConstructionSuite, kShapeConstructionSuiteVersion)    \
  SUITE(Envelope, EnvelopeSuiteV1, kEnvelopeSuite, kEnvelopeSuiteVersion)                                        \
  SUITE(Menu, MenuSuiteV7, kMenuSuite, kMenuSuiteVersion)                                                        \
  SUITE(Filter, FilterSuiteV2, kFilterSuite, kFilterSuiteVersion)                                                \
  SUITE(ADMBasic, ADMBasicSuiteV2, kADMBasicSuite, kADMBasicSuiteVersion)                                        \
  SUITE(ADMDialog, ADMDialogSuiteV3, kADMDialogSuite, kADMDialogSuiteVersion)                                    \
  SUITE(ADMItem, ADMItemSuiteV4, kADMItemSuite, kADMItemSuiteVersion)                                            \
  SUITE(ADMIcon, ADMIconSuiteV1, kADMIconSuite, kADMIconSuiteVersion)                                            \
  SUITE(ADMNotifier, ADMNotifierSuiteV1, kADMNotifierSuite, kADMNotifierSuiteVersion)                            \
  SUITE(ADMList, ADMListSuiteV1, kADMListSuite, kADMListSuiteVersion)                                            \
  SUITE(ADMEntry, ADMEntrySuiteV2, kADMEntrySuite, kADMEntrySuiteVersion)                                        \
  SUITE(ADMTracker, ADMTrackerSuiteV1, kADMTrackerSuite, kADMTrackerSuiteVersion)

#define HOST_SUITES(SUITE) HOST_PLUGIN_SUITES(SUITE) SUITE(Basic, BasicSuiteV4, kBasicSuite, kBasicSuiteVersion)

#define HOST_SUITE_OPERATIONS(id, OPERATION, context) HOST_OPERATIONS_##id(OPERATION, context)

/* The members of each function table, in order. */
#define HOST_OPERATIONS_Blocks(OPERATION, x) OPERATION(x, AllocateBlock) OPERATION(x, FreeBlock)
#define HOST_OPERATIONS_Access(OPERATION, x) OPERATION(x, GetPluginFilePath)
#define HOST_OPERATIONS_MdMemory(OPERATION, x)                                                                   \
  OPERATION(x, NewHandle) OPERATION(x, DisposeHandle) OPERATION(x, GetHandleSize)
#define HOST_OPERATIONS_RealMath(OPERATION, x)                                                                   \
  OPERATION(x, RealDiv) OPERATION(x, DegreeToRadian) OPERATION(x, RealSin) OPERATION(x, PointInterpolate)        \
  OPERATION(x, MatrixSetTranslate) OPERATION(x, MatrixConcatRotate) OPERATION(x, MatrixConcatScale)              \
  OPERATION(x, MatrixConcatTranslate)
#define HOST_OPERATIONS_Art(OPERATION, x)                                                                        \
  OPERATION(x, NewArt) OPERATION(x, DuplicateArt) OPERATION(x, GetArtBounds) OPERATION(x, GetArtType)
#define HOST_OPERATIONS_User(OPERATION, x) OPERATION(x, NumberToText) OPERATION(x, TextToNumber)
#define HOST_OPERATIONS_Document(OPERATION, x)                                                                   \
  OPERATION(x, GetDocumentPageSize) OPERATION(x, GetDocumentColorModel) OPERATION(x, RedrawDocument)
#define HOST_OPERATIONS_DocumentView(OPERATION, x)                                                               \
  OPERATION(x, GetNthDocumentView) OPERATION(x, GetDocumentViewCenter) OPERATION(x, ViewPointToArtworkPoint)     \
  OPERATION(x, ArtworkPointToViewPoint) OPERATION(x, GetDocumentViewZoom) OPERATION(x, SetDocumentViewZoom)
#define HOST_OPERATIONS_Undo(OPERATION, x) OPERATION(x, UndoChanges)
#define HOST_OPERATIONS_Path(OPERATION, x)                                                                       \
  OPERATION(x, GetPathSegmentCount) OPERATION(x, SetPathSegmentCount) OPERATION(x, GetPathSegments)              \
  OPERATION(x, SetPathSegments) OPERATION(x, GetPathClosed) OPERATION(x, SetPathClosed)
#define HOST_OPERATIONS_PathStyle(OPERATION, x) OPERATION(x, GetPathStyle) OPERATION(x, SetPathStyle)
#define HOST_OPERATIONS_Random(OPERATION, x) OPERATION(x, FloatRnd) OPERATION(x, SetRndSeed)
#define HOST_OPERATIONS_Tag(OPERATION, x) OPERATION(x, SetTag) OPERATION(x, GetTag)
#define HOST_OPERATIONS_BlendStyle(OPERATION, x) OPERATION(x, GetOpacity) OPERATION(x, SetOpacity)
#define HOST_OPERATIONS_MatchingArt(OPERATION, x) OPERATION(x, CountSelectedArt)
#define HOST_OPERATIONS_TransformArt(OPERATION, x) OPERATION(x, TransformArt)
#define HOST_OPERATIONS_RealBezier(OPERATION, x) OPERATION(x, EvaluatePoint)
#define HOST_OPERATIONS_SwatchList(OPERATION, x)                                                                 \
  OPERATION(x, CountSwatches) OPERATION(x, GetNthSwatch) OPERATION(x, GetSwatchColor)
#define HOST_OPERATIONS_ArtStyle(OPERATION, x)                                                                   \
  OPERATION(x, CountArtStyles) OPERATION(x, GetNthArtStyle) OPERATION(x, ApplyArtStyle)
#define HOST_OPERATIONS_Symbol(OPERATION, x) OPERATION(x, NewSymbol) OPERATION(x, CountSymbols)
#define HOST_OPERATIONS_Layer(OPERATION, x) OPERATION(x, InsertLayer) OPERATION(x, CountLayers)
#define HOST_OPERATIONS_ShapeConstruction(OPERATION, x)                                                          \
  OPERATION(x, NewCenteredRect) OPERATION(x, NewCenteredOval)
#define HOST_OPERATIONS_Envelope(OPERATION, x) OPERATION(x, MakeEnvelope) OPERATION(x, SetEnvelopeWarp)
#define HOST_OPERATIONS_Menu(OPERATION, x) OPERATION(x, UpdateMenuItemAutomatically)
#define HOST_OPERATIONS_Filter(OPERATION, x) OPERATION(x, AddFilter) OPERATION(x, GetFilterMenuItem)
#define HOST_OPERATIONS_ADMBasic(OPERATION, x) OPERATION(x, GetIndexString) OPERATION(x, MessageAlert)
#define HOST_OPERATIONS_ADMDialog(OPERATION, x)                                                                  \
  OPERATION(x, Modal) OPERATION(x, GetUserData) OPERATION(x, SetBoundsRect) OPERATION(x, GetBoundsRect)          \
  OPERATION(x, SetSize) OPERATION(x, CreateItem) OPERATION(x, GetItem) OPERATION(x, EndModal)
#define HOST_OPERATIONS_ADMItem(OPERATION, x)                                                                    \
  OPERATION(x, GetDialog) OPERATION(x, GetID) OPERATION(x, SetNotifyProc) OPERATION(x, SetTrackProc)             \
  OPERATION(x, DefaultNotify) OPERATION(x, DefaultTrack) OPERATION(x, SendNotify) OPERATION(x, Show)             \
  OPERATION(x, Enable) OPERATION(x, IsVisible) OPERATION(x, IsEnabled) OPERATION(x, SetFont)                     \
  OPERATION(x, SetText) OPERATION(x, GetText) OPERATION(x, SetUnits) OPERATION(x, SetPrecision)                  \
  OPERATION(x, SetBooleanValue) OPERATION(x, GetBooleanValue) OPERATION(x, SetIntValue)                          \
  OPERATION(x, GetIntValue) OPERATION(x, SetFloatValue) OPERATION(x, GetFloatValue)                              \
  OPERATION(x, SetMinIntValue) OPERATION(x, SetMaxIntValue) OPERATION(x, SetMinFloatValue)                       \
  OPERATION(x, SetMaxFloatValue) OPERATION(x, GetList)
#define HOST_OPERATIONS_ADMIcon(OPERATION, x) OPERATION(x, GetFromResource)
#define HOST_OPERATIONS_ADMNotifier(OPERATION, x) OPERATION(x, IsNotifierType) OPERATION(x, GetItem)
#define HOST_OPERATIONS_ADMList(OPERATION, x)                                                                    \
  OPERATION(x, InsertEntry) OPERATION(x, IndexEntry) OPERATION(x, GetActiveEntry) OPERATION(x, NumberOfEntries)
#define HOST_OPERATIONS_ADMEntry(OPERATION, x)                                                                   \
  OPERATION(x, SetText) OPERATION(x, GetText) OPERATION(x, SetID) OPERATION(x, GetID) OPERATION(x, Select)
#define HOST_OPERATIONS_ADMTracker(OPERATION, x) OPERATION(x, GetModifiers) OPERATION(x, GetPoint)
#define HOST_OPERATIONS_Basic(OPERATION, x)                                                                      \
  OPERATION(x, AcquireSuite) OPERATION(x, ReleaseSuite) OPERATION(x, IsEqual)

/* The checks: every named operation is the member at its index, and the
 * count of names fills the whole table (every member is a function pointer).
 * The enumerators number each suite's operations from zero. */
#ifdef __cplusplus
#define HOST_SUITE_CHECK(condition, text) static_assert(condition, text)
#else
#define HOST_SUITE_CHECK(condition, text) _Static_assert(condition, text)
#endif

#define HOST_OPERATION_INDEX(type, operation) hostOperationIndex_##type##_##operation,
#define HOST_OPERATION_INDICES(id, type, name, version) \
  enum { HOST_SUITE_OPERATIONS(id, HOST_OPERATION_INDEX, type) hostOperationCount_##type };
HOST_SUITES(HOST_OPERATION_INDICES)
#undef HOST_OPERATION_INDICES
#undef HOST_OPERATION_INDEX

#define HOST_OPERATION_CHECK(type, operation)                                                                     \
  HOST_SUITE_CHECK(offsetof(type, operation) == hostOperationIndex_##type##_##operation * sizeof(void (*)(void)), \
                   #type "." #operation " is listed at its place");
#define HOST_SUITE_OPERATIONS_CHECK(id, type, name, version)                                                 \
  HOST_SUITE_OPERATIONS(id, HOST_OPERATION_CHECK, type)                                                       \
  HOST_SUITE_CHECK(sizeof(type) == hostOperationCount_##type * sizeof(void (*)(void)), #type " lists every operation");
HOST_SUITES(HOST_SUITE_OPERATIONS_CHECK)
#undef HOST_SUITE_OPERATIONS_CHECK
#undef HOST_OPERATION_CHECK
#undef HOST_SUITE_CHECK
