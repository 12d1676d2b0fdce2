// Binary interface checks: record layouts, interface ids, and the vtable slots of the interfaces
// the raw caller under tests/hosts/vst3 does not reach.
#include "sdk/vst3/bstream.h"
#include "sdk/vst3/contextmenu.h"
#include "sdk/vst3/events.h"
#include "sdk/vst3/hostapplication.h"
#include "sdk/vst3/midimapping.h"
#include "sdk/vst3/paramchanges.h"
#include "sdk/vst3/pluginfactory.h"
#include "sdk/vst3/pluginview.h"
#include "sdk/vst3/processcontext.h"
#include "sdk/vst3/singlecomponenteffect.h"
#include "sdk/vst3/strings.h"
#include "sdk/vst3/unitinfo.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

using namespace Sdk;
using namespace Sdk::Vst;

namespace {

constexpr bool k32 = sizeof(void*) == 4;

#define LAYOUT(Type, size32, size64) static_assert(sizeof(Type) == (k32 ? (size32) : (size64)), #Type " size")
#define OFFSET(Type, field, at32, at64) \
    static_assert(offsetof(Type, field) == (k32 ? (at32) : (at64)), #Type "." #field " offset")

LAYOUT(PFactoryInfo, 452, 452);
OFFSET(PFactoryInfo, url, 64, 64);
OFFSET(PFactoryInfo, email, 320, 320);
OFFSET(PFactoryInfo, flags, 448, 448);
LAYOUT(PClassInfo, 116, 116);
OFFSET(PClassInfo, cardinality, 16, 16);
OFFSET(PClassInfo, category, 20, 20);
OFFSET(PClassInfo, name, 52, 52);
LAYOUT(PClassInfo2, 440, 440);
OFFSET(PClassInfo2, classFlags, 116, 116);
OFFSET(PClassInfo2, subCategories, 120, 120);
OFFSET(PClassInfo2, vendor, 248, 248);
OFFSET(PClassInfo2, version, 312, 312);
OFFSET(PClassInfo2, sdkVersion, 376, 376);
LAYOUT(PClassInfoW, 696, 696);
OFFSET(PClassInfoW, name, 52, 52);
OFFSET(PClassInfoW, classFlags, 180, 180);
OFFSET(PClassInfoW, subCategories, 184, 184);
OFFSET(PClassInfoW, vendor, 312, 312);
OFFSET(PClassInfoW, version, 440, 440);
OFFSET(PClassInfoW, sdkVersion, 568, 568);
LAYOUT(ViewRect, 16, 16);
LAYOUT(BusInfo, 276, 276);
OFFSET(BusInfo, channelCount, 8, 8);
OFFSET(BusInfo, name, 12, 12);
OFFSET(BusInfo, busType, 268, 268);
OFFSET(BusInfo, flags, 272, 272);
LAYOUT(RoutingInfo, 12, 12);
LAYOUT(ProcessSetup, 24, 24);
OFFSET(ProcessSetup, maxSamplesPerBlock, 8, 8);
OFFSET(ProcessSetup, sampleRate, 16, 16);
LAYOUT(AudioBusBuffers, 24, 24);
OFFSET(AudioBusBuffers, silenceFlags, 8, 8);
OFFSET(AudioBusBuffers, channelBuffers32, 16, 16);
OFFSET(AudioBusBuffers, channelBuffers64, 16, 16);
LAYOUT(ProcessData, 48, 80);
OFFSET(ProcessData, numSamples, 8, 8);
OFFSET(ProcessData, numOutputs, 16, 16);
OFFSET(ProcessData, inputs, 20, 24);
OFFSET(ProcessData, outputs, 24, 32);
OFFSET(ProcessData, inputParameterChanges, 28, 40);
OFFSET(ProcessData, outputParameterChanges, 32, 48);
OFFSET(ProcessData, inputEvents, 36, 56);
OFFSET(ProcessData, outputEvents, 40, 64);
OFFSET(ProcessData, processContext, 44, 72);
LAYOUT(Chord, 4, 4);
LAYOUT(FrameRate, 8, 8);
LAYOUT(ProcessContext, 112, 112);
OFFSET(ProcessContext, sampleRate, 8, 8);
OFFSET(ProcessContext, projectTimeSamples, 16, 16);
OFFSET(ProcessContext, continousTimeSamples, 32, 32);
OFFSET(ProcessContext, projectTimeMusic, 40, 40);
OFFSET(ProcessContext, barPositionMusic, 48, 48);
OFFSET(ProcessContext, cycleStartMusic, 56, 56);
OFFSET(ProcessContext, cycleEndMusic, 64, 64);
OFFSET(ProcessContext, tempo, 72, 72);
OFFSET(ProcessContext, timeSigNumerator, 80, 80);
OFFSET(ProcessContext, timeSigDenominator, 84, 84);
OFFSET(ProcessContext, chord, 88, 88);
OFFSET(ProcessContext, smpteOffsetSubframes, 92, 92);
OFFSET(ProcessContext, frameRate, 96, 96);
OFFSET(ProcessContext, samplesToNextClock, 104, 104);
LAYOUT(NoteOnEvent, 20, 20);
LAYOUT(NoteOffEvent, 16, 16);
LAYOUT(DataEvent, 12, 16);
LAYOUT(PolyPressureEvent, 12, 12);
LAYOUT(NoteExpressionValueEvent, 16, 16);
LAYOUT(NoteExpressionTextEvent, 16, 24);
OFFSET(NoteExpressionTextEvent, text, 12, 16);
LAYOUT(ChordEvent, 12, 16);
LAYOUT(ScaleEvent, 12, 16);
LAYOUT(Event, 40, 48);
OFFSET(Event, ppqPosition, 8, 8);
OFFSET(Event, flags, 16, 16);
OFFSET(Event, type, 18, 18);
OFFSET(Event, noteOn.channel, 20, 24);
OFFSET(Event, noteOn.pitch, 22, 26);
OFFSET(Event, noteOn.velocity, 28, 32);
OFFSET(Event, noteOn.noteId, 36, 40);
OFFSET(Event, noteOff.velocity, 24, 28);
OFFSET(Event, noteOff.tuning, 32, 36);
LAYOUT(ParameterInfo, 792, 792);
OFFSET(ParameterInfo, title, 4, 4);
OFFSET(ParameterInfo, shortTitle, 260, 260);
OFFSET(ParameterInfo, units, 516, 516);
OFFSET(ParameterInfo, stepCount, 772, 772);
OFFSET(ParameterInfo, defaultNormalizedValue, 776, 776);
OFFSET(ParameterInfo, unitId, 784, 784);
OFFSET(ParameterInfo, flags, 788, 788);
LAYOUT(UnitInfo, 268, 268);
OFFSET(UnitInfo, name, 8, 8);
OFFSET(UnitInfo, programListId, 264, 264);
LAYOUT(ProgramListInfo, 264, 264);
OFFSET(ProgramListInfo, programCount, 260, 260);
LAYOUT(IContextMenuItem, 264, 264);
OFFSET(IContextMenuItem, tag, 256, 256);
OFFSET(IContextMenuItem, flags, 260, 260);
static_assert(alignof(Event) == 8 && alignof(ProcessContext) == 8 && alignof(ProcessSetup) == 8);
static_assert(alignof(ProcessData) == (k32 ? 4 : 8));

std::string hex(const char8* bytes) {
    std::string s;
    char buffer[3];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(buffer, sizeof(buffer), "%02X", static_cast<unsigned char>(bytes[i]));
        s += buffer;
    }
    return s;
}

}  // namespace

TEST(InterfaceIds, MatchTheGuidBytesOfEachInterface) {
    // Expected bytes from Python's uuid module: bytes_le for Windows, bytes elsewhere.
    struct Row {
        const FUID& iid;
        const char* windows;
        const char* other;
    };
    const Row rows[] = {
        {FUnknown::iid, "0000000000000000C000000000000046", "0000000000000000C000000000000046"},
        {IHostedObject::iid, "DB8D88226E15AE458358B34808190625", "22888DDB156E45AE8358B34808190625"},
        {IClassFactory::iid, "1C814D7A11521F4AAED9D2EE0B43BF9F", "7A4D811C52114A1FAED9D2EE0B43BF9F"},
        {IClassFactory2::iid, "50B607004BF20B4CA464EDB9F00B2ABB", "0007B650F24B4C0BA464EDB9F00B2ABB"},
        {IClassFactory3::iid, "ABA2554523C1574E9B12291036878931", "4555A2ABC1234E579B12291036878931"},
        {IComponent::iid, "31FF31E8D5F20143928EBBEE25697802", "E831FF31F2D54301928EBBEE25697802"},
        {IAudioProcessor::iid, "993F0442DAB73C45A569E79D9AAEC33D", "42043F99B7DA453CA569E79D9AAEC33D"},
        {IEditController::iid, "E3BBD7DC42778D44A874AACC979C759E", "DCD7BBE37742448DA874AACC979C759E"},
        {IEditController2::iid, "59FE4E7F20F36749AC27A3AEAFB63038", "7F4EFE59F3204967AC27A3AEAFB63038"},
        {IConnectionPoint::iid, "6F15A4706E6E2640989148BFAA60D8D1", "70A4156F6E6E4026989148BFAA60D8D1"},
        {IUnitInfo::iid, "B5D64B3D3A91D24FA886E768A5EB92C1", "3D4BD6B5913A4FD2A886E768A5EB92C1"},
        {IMidiMapping::iid, "F7F90FDFB7496946B63AB7327ADBF5E5", "DF0FF9F749B74669B63AB7327ADBF5E5"},
        {IEditorView::iid, "0725C35B60D0EA49A6151B522B755B29", "5BC32507D06049EAA6151B522B755B29"},
        {IEditorFrame::iid, "01AF7F36A9AF93468D4DA2A0ED0882A3", "367FAF01AFA946938D4DA2A0ED0882A3"},
        {IDependent::iid, "AE7A2BF572DE6D418AF18ACE9DD7BD5E", "F52B7AAEDE72416D8AF18ACE9DD7BD5E"},
        {IHostApplication::iid, "CC95E5582DDB69498B6AAF8C36A664E5", "58E595CCDB2D49698B6AAF8C36A664E5"},
        {IComponentHandler::iid, "A3BEA093D00BDB458E890B0CC1E46AC6", "93A0BEA30BD045DB8E890B0CC1E46AC6"},
        {IComponentHandler2::iid, "B3B440F060A3EC45ABCDC045B4D5A2CC", "F040B4B3A36045ECABCDC045B4D5A2CC"},
        {IComponentHandler3::iid, "1716F1696BD20D40A4B6B9647B6EBBAB", "69F11617D26B400DA4B6B9647B6EBBAB"},
        {IContextMenuTarget::iid, "752EDF3CD3854441BF86D36BD7C4894D", "3CDF2E7585D34144BF86D36BD7C4894D"},
        {IContextMenu::iid, "63C8932E9C0C884597DBECF5AD17817D", "2E93C8630C9C458897DBECF5AD17817D"},
        {IBStream::iid, "A26EBFC3993052479B6BF9901EE33E9B", "C3BF6EA2309947529B6BF9901EE33E9B"},
        {IParameterChanges::iid, "639677A4B60B564AB44384A8466FEB9D", "A47796630BB64A56B44384A8466FEB9D"},
        {IParamValueQueue::iid, "183A260107ED6F4F98C9D3564686F9BA", "01263A18ED074F6F98C9D3564686F9BA"},
        {IEventList::iid, "14422C3A6334FE49B2C4F397B9695A44", "3A2C4214346349FEB2C4F397B9695A44"},
        {IMessage::iid, "3B036F93C0C6DB47BB0882F813C1E613", "936F033BC6C047DBBB0882F813C1E613"},
        {IAttributeList::iid, "EB0A5F1E7FCC3345A254401138AD5EE4", "1E5F0AEBCC7F4533A254401138AD5EE4"},
    };
    for (const Row& row : rows) {
#ifdef _WIN32
        EXPECT_EQ(hex(row.iid), row.windows);
#else
        EXPECT_EQ(hex(row.iid), row.other);
#endif
    }
}

// Words 3 and 4 are the four-character codes "TvRl" and "Zel4".
TEST(InterfaceIds, ClassIdFromFourCharacterCodesKeepsTheirReadingOrder) {
    TUID cid;
    FUID(0xF2AEE70D, 0x00DE4F4E, 0x5476526C, 0x5A656C34).toTUID(cid);
#ifdef _WIN32
    EXPECT_EQ(hex(cid), "0DE7AEF2DE004E4F5476526C5A656C34");
#else
    EXPECT_EQ(hex(cid), "F2AEE70D00DE4F4E5476526C5A656C34");
#endif
    EXPECT_EQ(std::string(cid + 8, 8), "TvRlZel4");
    EXPECT_EQ(FUID(cid), FUID(0xF2AEE70D, 0x00DE4F4E, 0x5476526C, 0x5A656C34));
    EXPECT_NE(FUID(cid), FUID(0xF2AEE70D, 0x00DE4F4E, 0x5476526C, 0x5A656C35));
    EXPECT_FALSE(FUID().isValid());
}

namespace {

// Slot number of a virtual method from its Itanium-ABI member pointer (1 + byte offset).
template <class M>
int slotOf(M pmf) {
    static_assert(sizeof(M) == 2 * sizeof(std::uintptr_t));
    std::uintptr_t words[2];
    std::memcpy(words, &pmf, sizeof(words));
    return static_cast<int>((words[0] - 1) / sizeof(void*));
}

// The methods, listed in interface order, occupy consecutive slots from `first`.
void expectSlots(const char* name, int first, std::initializer_list<int> slots) {
    int expected = first;
    for (int slot : slots) EXPECT_EQ(slot, expected++) << name;
}

}  // namespace

TEST(InterfaceSlots, FollowTheInterfaceOrderWhereNoRawCallerChecksThem) {
    expectSlots("IClassFactory3", 3,
                {slotOf(&IClassFactory3::getFactoryInfo), slotOf(&IClassFactory3::countClasses),
                 slotOf(&IClassFactory3::getClassInfo), slotOf(&IClassFactory3::createInstance),
                 slotOf(&IClassFactory3::getClassInfo2), slotOf(&IClassFactory3::getClassInfoUnicode),
                 slotOf(&IClassFactory3::setHostContext)});
    expectSlots("IEditController", 3,
                {slotOf(&IEditController::initialize), slotOf(&IEditController::terminate),
                 slotOf(&IEditController::setComponentState), slotOf(&IEditController::setState),
                 slotOf(&IEditController::getState), slotOf(&IEditController::getParameterCount),
                 slotOf(&IEditController::getParameterInfo), slotOf(&IEditController::getParamStringByValue),
                 slotOf(&IEditController::getParamValueByString), slotOf(&IEditController::normalizedParamToPlain),
                 slotOf(&IEditController::plainParamToNormalized), slotOf(&IEditController::getParamNormalized),
                 slotOf(&IEditController::setParamNormalized), slotOf(&IEditController::setComponentHandler),
                 slotOf(&IEditController::createView)});
    expectSlots("IEditController2", 3,
                {slotOf(&IEditController2::setKnobMode), slotOf(&IEditController2::openHelp),
                 slotOf(&IEditController2::openAboutBox)});
    expectSlots(
        "IUnitInfo", 3,
        {slotOf(&IUnitInfo::getUnitCount), slotOf(&IUnitInfo::getUnitInfo), slotOf(&IUnitInfo::getProgramListCount),
         slotOf(&IUnitInfo::getProgramListInfo), slotOf(&IUnitInfo::getProgramName), slotOf(&IUnitInfo::getProgramInfo),
         slotOf(&IUnitInfo::hasProgramPitchNames), slotOf(&IUnitInfo::getProgramPitchName),
         slotOf(&IUnitInfo::getSelectedUnit), slotOf(&IUnitInfo::selectUnit), slotOf(&IUnitInfo::getUnitByBus),
         slotOf(&IUnitInfo::setUnitProgramData)});
    expectSlots("IMidiMapping", 3, {slotOf(&IMidiMapping::getMidiControllerAssignment)});
    expectSlots(
        "IEditorView", 3,
        {slotOf(&IEditorView::isPlatformTypeSupported), slotOf(&IEditorView::attached), slotOf(&IEditorView::removed),
         slotOf(&IEditorView::onWheel), slotOf(&IEditorView::onKeyDown), slotOf(&IEditorView::onKeyUp),
         slotOf(&IEditorView::getSize), slotOf(&IEditorView::onSize), slotOf(&IEditorView::onFocus),
         slotOf(&IEditorView::setFrame), slotOf(&IEditorView::canResize), slotOf(&IEditorView::checkSizeConstraint)});
    expectSlots("IComponentHandler", 3,
                {slotOf(&IComponentHandler::beginEdit), slotOf(&IComponentHandler::performEdit),
                 slotOf(&IComponentHandler::endEdit), slotOf(&IComponentHandler::restartComponent)});
    expectSlots("IComponentHandler2", 3,
                {slotOf(&IComponentHandler2::setDirty), slotOf(&IComponentHandler2::requestOpenEditor),
                 slotOf(&IComponentHandler2::startGroupEdit), slotOf(&IComponentHandler2::finishGroupEdit)});
    expectSlots("IParameterChanges", 3,
                {slotOf(&IParameterChanges::getParameterCount), slotOf(&IParameterChanges::getParameterData),
                 slotOf(&IParameterChanges::addParameterData)});
    expectSlots("IParamValueQueue", 3,
                {slotOf(&IParamValueQueue::getParameterId), slotOf(&IParamValueQueue::getPointCount),
                 slotOf(&IParamValueQueue::getPoint), slotOf(&IParamValueQueue::addPoint)});
}
