// Every component family, named once. The designer's type registry (with its
// property sheets and traits) and the runtime's are both generated from this list.
#pragma once

// X(Name): the family defines `std::span<const CComponentType> NameComponentTypes()`
// in its designer file (type id, template ports, limits, constructor, property
// sheet, traits) and `std::span<const CRuntimeType> NameRuntimeTypes()` in its
// runtime file (type id and runtime constructor; no constructor for a type that
// runs only in the designer, whose designer row then says `designerOnly`).
// A new family is its own files under components/<group>/ plus one line here; a
// family without either half fails to link. Order: the registries' walk order.
#define ZOR2_COMPONENT_FAMILIES(X) \
    X(Math)                        \
    X(Constant)                    \
    X(Feedback)                    \
    X(TruthCheck)                  \
    X(Valve)                       \
    X(Toggle)                      \
    X(BitExtractor)                \
    X(DoOnce)                      \
    X(MathExp)                     \
    X(Angle)                       \
    X(Delta)                       \
    X(Compare)                     \
    X(Comparator)                  \
    X(Timer)                       \
    X(Delay)                       \
    X(Counter)                     \
    X(QuantityDiminish)            \
    X(Random)                      \
    X(SimInfo)                     \
    X(Vector)                      \
    X(UserControl)                 \
    X(SimLight)                    \
    X(SimAction)                   \
    X(Signal)                      \
    X(FftMfcc)                     \
    X(Stats)                       \
    X(NeuralNetwork)              \
    X(Pattern)                     \
    X(MatchCount)                  \
    X(Segmenter)                   \
    X(CsvData)                     \
    X(DataStore)                   \
    X(LedMatrix)                   \
    X(Display)                     \
    X(DecisionMatrix)              \
    X(ActionSequence)
