#include "processor/operators/project_operator.h"

#include "processor/evaluator.h"

namespace zelvo {

Result<std::optional<DataChunk>> ProjectOperator::do_next_chunk() {
  ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> input, child_->next_chunk());
  if (!input) return std::nullopt;
  std::vector<Vector> vectors;
  vectors.reserve(expressions_.size());
  for (const ProjectionPair& pair : expressions_) {
    ZELVO_ASSIGN_OR_RETURN(Vector vector, evaluate(pair.first, *input));
    vectors.push_back(std::move(vector));
  }
  return DataChunk::from_vectors(std::move(vectors), input->count());
}

}  // namespace zelvo
