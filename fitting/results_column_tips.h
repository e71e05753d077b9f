#pragma once
// The meaning and unit of each column of the results table, shown as the tooltip of its head
// (in the order of ResultsTableHeads).
#include "fitting/results_table.h"

namespace orvelo {

inline constexpr const char* kResultColumnTips[kResultColumns] = {
    "M: номинальная масса пика, u",
    "Масса: точная масса центра пика, u",
    "Ошибка: стандартная ошибка массы, u",
    "Me: дефект массы (масса минус ближайшее целое), mmu",
    "DMe: изменение дефекта массы от предыдущего пика, mmu",
    "R: разрешающая способность, M/ΔM на полувысоте",
    "dR: стандартная ошибка разрешающей способности",
    "A: фон под пиком, единицы интенсивности",
    "B: амплитуда пика над фоном, единицы интенсивности",
    "Std Err: стандартная ошибка подгонки, доля высоты пика",
    "Iter: число итераций подгонки",
    "Kol: число точек в пике",
};

}  // namespace orvelo
